#include "platform/win32_finder.h"

std::unique_ptr<Finder> Win32Finder::Start(const std::string& pattern) {
    WIN32_FIND_DATAA first = {};
    const HANDLE handle = FindFirstFileA(pattern.c_str(), &first);
    if (handle != INVALID_HANDLE_VALUE)
        return std::unique_ptr<Finder>(new Win32Finder(handle, first));
    const DWORD error = GetLastError();
    if (error != ERROR_FILE_NOT_FOUND && error != ERROR_NO_MORE_FILES) return nullptr;
    return std::unique_ptr<Finder>(new Win32Finder(INVALID_HANDLE_VALUE, first));
}

Win32Finder::Win32Finder(HANDLE handle, const WIN32_FIND_DATAA& first)
    : handle_(handle), pending_(first), hasPending_(handle != INVALID_HANDLE_VALUE) {}

Win32Finder::~Win32Finder() {
    if (handle_ != INVALID_HANDLE_VALUE) FindClose(handle_);
}

bool Win32Finder::Next(FindEntry* entry) {
    if (hasPending_) {
        hasPending_ = false;
    } else if (handle_ == INVALID_HANDLE_VALUE) {
        return false;
    } else if (!FindNextFileA(handle_, &pending_)) {
        brokeOff_ = GetLastError() != ERROR_NO_MORE_FILES;
        return false;
    }
    entry->name = pending_.cFileName;
    entry->attributes = pending_.dwFileAttributes;
    entry->size = uint64_t(pending_.nFileSizeHigh) << 32 | pending_.nFileSizeLow;
    return true;
}
