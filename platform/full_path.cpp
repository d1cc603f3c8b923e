#include "platform/full_path.h"

#include <windows.h>

#include "fs/path_text.h"
#include "platform/win32_code_page.h"

namespace {

bool IsDrive(const std::string& path) {
    return path.size() == 2 && path[1] == ':' && ::IsCharAlphaA(path[0]);
}

}  // namespace

// Made in UTF-16: the current folder may hold a name the code page spells
// only by a look-alike, which the ANSI call would make a path elsewhere.
std::string CanonicalPath(const std::string& path) {
    if (IsDrive(path)) return path;  // the drive itself, not its current folder
    const std::wstring wide = WideFromSystem(path);
    std::wstring full(::GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr), L'\0');
    if (full.empty()) return std::string();
    const DWORD length = ::GetFullPathNameW(wide.c_str(), DWORD(full.size()), &full[0], nullptr);
    if (length == 0 || length >= full.size()) return std::string();
    full.resize(length);
    std::string spelled;
    SystemFromWide(full, &spelled);
    if (spelled.empty() || spelled.size() >= MAX_PATH) return std::string();
    while (spelled.size() > 1 && LastBackslash(spelled, SystemCodePage()) == spelled.size() - 1) {
        spelled.pop_back();
    }
    return spelled;
}
