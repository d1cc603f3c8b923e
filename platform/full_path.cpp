#include "platform/full_path.h"

#include <windows.h>

#include "fs/path_text.h"
#include "platform/win32_code_page.h"

namespace {

bool IsDrive(const std::string& path) {
    return path.size() == 2 && path[1] == ':' && ::IsCharAlphaA(path[0]);
}

}  // namespace

std::string CanonicalPath(const std::string& path) {
    if (IsDrive(path)) return path;  // the drive itself, not its current folder
    char buffer[MAX_PATH] = {};
    const DWORD length = ::GetFullPathNameA(path.c_str(), MAX_PATH, buffer, nullptr);
    if (length == 0 || length >= MAX_PATH) return std::string();
    std::string full(buffer, length);
    while (full.size() > 1 && LastBackslash(full, SystemCodePage()) == full.size() - 1) {
        full.pop_back();
    }
    return full;
}
