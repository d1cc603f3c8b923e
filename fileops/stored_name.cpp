#include "fileops/stored_name.h"

#include <cctype>
#include <cstring>

#include "fileops/output_name.h"

namespace {

const char* const kDeviceNames[] = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"};

std::string Upper(std::string s) {
    for (char& c : s) c = char(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

// Windows also numbers ports with the Western code page's superscript one,
// two and three (B9, B2, B3).
bool IsPortDigit(char c) {
    return std::isdigit(static_cast<unsigned char>(c)) || c == '\xB9' || c == '\xB2' ||
           c == '\xB3';
}

// Devices answer to their name with any extension, in any letter case, and
// with blanks before the extension.
bool IsDeviceName(const std::string& name) {
    std::string base = Upper(name.substr(0, name.find('.')));
    base.erase(base.find_last_not_of(' ') + 1);
    for (const char* device : kDeviceNames) {
        if (base == device) return true;
    }
    const bool numbered = base.size() == 4 && IsPortDigit(base[3]);
    return numbered && (base.compare(0, 3, "COM") == 0 || base.compare(0, 3, "LPT") == 0);
}

bool HasForbiddenByte(const std::string& name) {
    for (unsigned char c : name) {
        if (c < 0x20 || std::strchr("\\/:<>\"|?*", c)) return true;
    }
    return false;
}

}  // namespace

bool IsSafeStoredName(const std::string& name) {
    if (name.empty() || HasForbiddenByte(name)) return false;
    if (name.find_first_not_of(". ") == std::string::npos) return false;  // ".", "..", " . "
    if (name.back() == '.' || name.back() == ' ') return false;
    if (IsTemporaryPath(name)) return false;  // an unfinished output's form
    return !IsDeviceName(name);
}
