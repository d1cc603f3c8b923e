#include "shell/folder_path.h"

// clang-format off
#include <windows.h>
#include <shlobj.h>
// clang-format on

bool GetSpecialFolderPath(HWND owner, int folder, std::string* path) {
    path->clear();
    LPITEMIDLIST items = nullptr;
    if (FAILED(::SHGetSpecialFolderLocation(owner, folder, &items)) || !items) return false;
    char buffer[MAX_PATH] = {};
    const bool found = ::SHGetPathFromIDListA(items, buffer) != FALSE;
    IMalloc* allocator = nullptr;
    if (SUCCEEDED(::SHGetMalloc(&allocator))) {
        allocator->Free(items);
        allocator->Release();
    }
    if (!found || buffer[0] == '\0') return false;
    *path = buffer;
    return true;
}
