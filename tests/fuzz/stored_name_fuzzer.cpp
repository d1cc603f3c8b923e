// The stored-name check: whatever it accepts must be a plain name that
// Windows takes as given, no device, and must survive the name block.
#include <cstdint>
#include <cstring>
#include <string>

#include "fileops/cpy_layout.h"
#include "fileops/stored_name.h"
#include "fs/path_text.h"
#include "tests/fuzz/fuzz_check.h"

namespace {

// Windows opens a device for these names, whatever follows a dot or blanks;
// in single-byte code pages B9, B2 and B3 are the superscript digits one, two
// and three.
bool NamesDevice(const std::string& name, bool singleByte) {
    std::string base;
    for (char c : name) {
        if (c == '.') break;
        base += char(c >= 'a' && c <= 'z' ? c - 32 : c);
    }
    while (!base.empty() && base.back() == ' ') base.pop_back();
    for (const char* device : {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"}) {
        if (base == device) return true;
    }
    if (base.size() != 4 || (base.compare(0, 3, "COM") != 0 && base.compare(0, 3, "LPT") != 0))
        return false;
    return std::strchr(singleByte ? "123456789\xB9\xB2\xB3" : "123456789", base[3]) != nullptr &&
           base[3] != '\0';
}

// Checked character by character: in a double-byte code page the second byte
// of a character may be '\' or '|', and is no separator there.
void CheckPlainName(const std::string& name, const CodePage& codePage) {
    FUZZ_CHECK(!name.empty());
    FUZZ_CHECK(name.back() != '.' && name.back() != ' ');
    FUZZ_CHECK(name.find_first_not_of(". ") != std::string::npos);
    for (size_t i = 0; i < name.size(); i = NextCharacterAt(name, i, codePage)) {
        const unsigned char c = name[i];
        FUZZ_CHECK(c >= 0x20 && std::strchr("\\/:*?\"<>|", c) == nullptr);
        FUZZ_CHECK(!codePage.IsLeadByte(c) || i + 1 < name.size());
    }
    FUZZ_CHECK(!NamesDevice(name, !codePage.IsLeadByte(0x81)));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string name(reinterpret_cast<const char*>(data), size);
    static const TableCodePage western(1252), japanese(932);
    const bool westernSafe = IsSafeStoredName(name, western);
    if (westernSafe) CheckPlainName(name, western);
    if (IsSafeStoredName(name, japanese)) CheckPlainName(name, japanese);
    if (!westernSafe || size >= cpy::kNameBlockSize) return 0;

    Cast128 cipher;
    cipher.SetKey("secret");
    uint8_t block[cpy::kNameBlockSize];
    FUZZ_CHECK(cpy::SealNameBlock(cipher, name, block) == nullptr);
    FUZZ_CHECK(cpy::OpenNameBlock(cipher, block) == name);
    return 0;
}
