#include "fileops/stored_name.h"

#include <cctype>

#include "fileops/cpy_layout.h"
#include "fileops/output_name.h"
#include "fs/path_text.h"

namespace {

const char* const kDeviceNames[] = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"};

std::string Upper(std::string s) {
    for (char& c : s) c = char(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

// Windows also numbers ports with the superscript one, two and three, which
// single-byte code pages spell B9, B2 and B3 (in code page 932 those bytes are
// katakana).
bool IsPortDigit(char c, const CodePage& codePage) {
    const bool superscript = c == '\xB9' || c == '\xB2' || c == '\xB3';
    return std::isdigit(static_cast<unsigned char>(c)) ||
           (superscript && !codePage.IsLeadByte(0x81));
}

// Devices answer to their name with any extension, in any letter case, and
// with blanks before the extension.
bool IsDeviceName(const std::string& name, const CodePage& codePage) {
    std::string base = Upper(name.substr(0, name.find('.')));
    base.erase(base.find_last_not_of(' ') + 1);
    for (const char* device : kDeviceNames) {
        if (base == device) return true;
    }
    const bool numbered = base.size() == 4 && IsPortDigit(base[3], codePage);
    return numbered && (base.compare(0, 3, "COM") == 0 || base.compare(0, 3, "LPT") == 0);
}

// A forbidden character counts where a character starts; control bytes never
// follow a lead byte. A lead byte with nothing after it is half a character.
bool HasForbiddenCharacter(const std::string& name, const CodePage& codePage) {
    for (unsigned char c : name) {
        if (c < 0x20) return true;
    }
    return FindCharacter(name, "\\/:<>\"|?*", codePage) != std::string::npos ||
           EndsInLeadByte(name, codePage);
}

}  // namespace

bool IsSafeStoredName(const std::string& name, const CodePage& codePage) {
    if (name.empty() || HasForbiddenCharacter(name, codePage)) return false;
    if (name.find_first_not_of(". ") == std::string::npos) return false;  // ".", "..", " . "
    if (name.back() == '.' || name.back() == ' ') return false;
    if (IsTemporaryPath(name)) return false;  // an unfinished output's form
    return !IsDeviceName(name, codePage);
}

const char* StoredNameRefusal(const std::string& name, const CodePage& codePage) {
    if (name.size() >= cpy::kNameBlockSize) return "error_max_path";
    if (name.find('\n') != std::string::npos) return "error_word";
    return IsSafeStoredName(name, codePage) ? nullptr : "error_name_not_storable";
}
