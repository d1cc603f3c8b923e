#include "platform/win32_finder.h"

#include "platform/win32_code_page.h"

std::unique_ptr<Finder> Win32Finder::Start(const std::string& pattern) {
    return Start(WideFromSystem(pattern));
}

std::unique_ptr<Win32Finder> Win32Finder::Start(const std::wstring& pattern) {
    WIN32_FIND_DATAW first = {};
    const HANDLE handle = FindFirstFileW(pattern.c_str(), &first);
    if (handle != INVALID_HANDLE_VALUE)
        return std::unique_ptr<Win32Finder>(new Win32Finder(handle, first));
    const DWORD error = GetLastError();
    if (error != ERROR_FILE_NOT_FOUND && error != ERROR_NO_MORE_FILES) return nullptr;
    return std::unique_ptr<Win32Finder>(new Win32Finder(INVALID_HANDLE_VALUE, first));
}

Win32Finder::Win32Finder(HANDLE handle, const WIN32_FIND_DATAW& first)
    : handle_(handle), pending_(first), hasPending_(handle != INVALID_HANDLE_VALUE) {}

Win32Finder::~Win32Finder() {
    if (handle_ != INVALID_HANDLE_VALUE) FindClose(handle_);
}

bool Win32Finder::Next(FindEntry* entry) {
    if (hasPending_) {
        hasPending_ = false;
    } else if (handle_ == INVALID_HANDLE_VALUE) {
        return false;
    } else if (!FindNextFileW(handle_, &pending_)) {
        brokeOff_ = GetLastError() != ERROR_NO_MORE_FILES;
        return false;
    }
    wideName_ = pending_.cFileName;
    SystemFromWide(wideName_, &entry->name);
    entry->attributes = pending_.dwFileAttributes;
    entry->size = uint64_t(pending_.nFileSizeHigh) << 32 | pending_.nFileSizeLow;
    entry->reparseTag =
        pending_.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT ? pending_.dwReserved0 : 0;
    return true;
}
