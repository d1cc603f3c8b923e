// The stored-name check: whatever it accepts must be a plain name that
// Windows takes as given, no device, and must survive the name block.
#include <cstdint>
#include <cstring>
#include <string>

#include "fileops/cpy_layout.h"
#include "fileops/stored_name.h"
#include "tests/fuzz/fuzz_check.h"

namespace {

// Windows opens a device for these names, whatever follows a dot or blanks;
// B9, B2 and B3 are the superscript digits one, two and three.
bool NamesDevice(const std::string& name) {
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
    return std::strchr("123456789\xB9\xB2\xB3", base[3]) != nullptr && base[3] != '\0';
}

void CheckPlainName(const std::string& name) {
    FUZZ_CHECK(!name.empty());
    FUZZ_CHECK(name.back() != '.' && name.back() != ' ');
    FUZZ_CHECK(name.find_first_not_of(". ") != std::string::npos);
    for (unsigned char c : name) {
        FUZZ_CHECK(c >= 0x20 && std::strchr("\\/:*?\"<>|", c) == nullptr);
    }
    FUZZ_CHECK(!NamesDevice(name));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string name(reinterpret_cast<const char*>(data), size);
    if (!IsSafeStoredName(name)) return 0;
    CheckPlainName(name);
    if (size >= cpy::kNameBlockSize) return 0;

    Cast128 cipher;
    cipher.SetKey("secret");
    uint8_t block[cpy::kNameBlockSize];
    FUZZ_CHECK(cpy::SealNameBlock(cipher, name, block) == nullptr);
    FUZZ_CHECK(cpy::OpenNameBlock(cipher, block) == name);
    return 0;
}
