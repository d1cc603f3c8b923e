#include "platform/win32_file_system.h"

#include <windows.h>

#include "platform/win32_file.h"
#include "platform/win32_finder.h"

namespace {

uint64_t FromFileTime(const FILETIME& time) {
    return uint64_t(time.dwHighDateTime) << 32 | time.dwLowDateTime;
}

// A link is opened as itself, never as its target, and then refused: a job
// must not reach a file outside the tree it was given, nor wipe a file and
// leave it under its own name. Asked of the handle, so a name replaced by a
// link after the walk looked at it does not pass either.
HANDLE OpenNotThroughLink(const std::string& path, DWORD access, DWORD share, DWORD disposition) {
    const HANDLE handle =
        CreateFileA(path.c_str(), access, share, nullptr, disposition,
                    FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return handle;
    FILE_ATTRIBUTE_TAG_INFO info = {};
    if (!GetFileInformationByHandleEx(handle, FileAttributeTagInfo, &info, sizeof info) ||
        IsLink(info.FileAttributes, info.ReparseTag)) {
        CloseHandle(handle);
        SetLastError(ERROR_CANT_ACCESS_FILE);
        return INVALID_HANDLE_VALUE;
    }
    return handle;
}

std::unique_ptr<File> OpenFile(const std::string& path, DWORD access, DWORD disposition,
                               DWORD share = 0) {
    const HANDLE handle = OpenNotThroughLink(path, access, share, disposition);
    if (handle == INVALID_HANDLE_VALUE) return nullptr;
    return std::make_unique<Win32File>(handle, path);
}

// Through one handle: each open of a path costs Wine a round trip to its
// server, a third of a millisecond.
bool SetTimesAndAttributes(const std::string& path, const FileStatus& status) {
    // Backup semantics let the times of a folder be set as well.
    const HANDLE handle = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr,
                                      OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return false;
    const bool set = SetStatusThrough(handle, status);
    const bool closed = CloseHandle(handle) != 0;
    return set && closed;
}

}  // namespace

bool Win32FileSystem::GetAttributes(const std::string& path, uint32_t* attributes) {
    const DWORD found = GetFileAttributesA(path.c_str());
    if (found == INVALID_FILE_ATTRIBUTES) return false;
    *attributes = found;
    return true;
}

bool Win32FileSystem::SetAttributes(const std::string& path, uint32_t attributes) {
    // Wine keeps hidden and system in an extended attribute, which a user may
    // no longer write once the file is read-only: the others go first.
    const DWORD others = attributes & ~DWORD(FILE_ATTRIBUTE_READONLY);
    if (others != 0 && others != attributes && !SetFileAttributesA(path.c_str(), others)) {
        return false;
    }
    return SetFileAttributesA(path.c_str(), AttributesToSet(attributes)) != 0;
}

std::unique_ptr<File> Win32FileSystem::OpenRead(const std::string& path) {
    return OpenFile(path, GENERIC_READ, OPEN_EXISTING, FILE_SHARE_READ);
}

std::unique_ptr<File> Win32FileSystem::OpenReadWrite(const std::string& path) {
    // DELETE lets the job rename and remove the file through this handle.
    return OpenFile(path, GENERIC_READ | GENERIC_WRITE | DELETE, OPEN_EXISTING);
}

std::unique_ptr<File> Win32FileSystem::Create(const std::string& path) {
    return OpenFile(path, GENERIC_WRITE, CREATE_NEW);
}

bool Win32FileSystem::GetStatus(const std::string& path, FileStatus* status) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return false;
    status->creationTime = FromFileTime(data.ftCreationTime);
    status->lastAccessTime = FromFileTime(data.ftLastAccessTime);
    status->lastWriteTime = FromFileTime(data.ftLastWriteTime);
    status->attributes = data.dwFileAttributes;
    return true;
}

// Without times to set, no handle is opened: Wine refuses one for writing
// attributes to a read-only file.
bool Win32FileSystem::SetStatus(const std::string& path, const FileStatus& status) {
    if (!status.creationTime && !status.lastAccessTime && !status.lastWriteTime)
        return SetAttributes(path, status.attributes);
    return SetTimesAndAttributes(path, status);
}

MoveResult Win32FileSystem::Move(const std::string& from, const std::string& to) {
    const bool moved = MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_WRITE_THROUGH) != 0;
    return {moved, moved};
}

bool Win32FileSystem::Delete(const std::string& path) { return DeleteFileA(path.c_str()) != 0; }

std::unique_ptr<Finder> Win32FileSystem::Find(const std::string& pattern) {
    return Win32Finder::Start(pattern);
}
