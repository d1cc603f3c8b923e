#include "lang/language_file.h"

#include <windows.h>

#include <new>

namespace {

// Language files are a few kilobytes; anything this large is not one.
const LONGLONG kLargestLanguageFile = 64 << 20;

bool ReadAll(HANDLE file, char* data, size_t size) {
    while (size > 0) {
        DWORD got = 0;
        if (!ReadFile(file, data, DWORD(size), &got, nullptr) || got == 0) return false;
        data += got;
        size -= got;
    }
    return true;
}

bool ReadOpenFile(HANDLE file, std::vector<char>* text) {
    LARGE_INTEGER length;
    if (!GetFileSizeEx(file, &length) || length.QuadPart > kLargestLanguageFile) return false;
    const size_t size = size_t(length.QuadPart);
    try {
        text->assign(size + 1, '\0');
    } catch (const std::bad_alloc&) {
        return false;
    }
    return ReadAll(file, text->data(), size);
}

}  // namespace

bool ReadLanguageFile(const std::string& path, std::vector<char>* text) {
    const HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    const bool read = ReadOpenFile(file, text);
    CloseHandle(file);
    return read;
}

// A ".old" file of the same name is a copy of a language file already taken
// into the cache: left in the way, it would bring the chooser back at every
// start.
bool RetireLanguageFile(const std::string& path) {
    return MoveFileExA(path.c_str(), (path + ".old").c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
}
