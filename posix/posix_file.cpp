#include "posix/posix_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>

#include "posix/folder_sync.h"
#include "posix/late_close.h"
#include "posix/posix_file_system.h"
#include "posix/stat_fields.h"

static_assert(sizeof(off_t) == 8, "files past 2 GiB need a 64-bit off_t");

PosixFile::~PosixFile() {
    if (IsOpen()) ::close(fd_);
}

// read() may return less than asked before the end; only 0 means the end.
bool PosixFile::Read(void* data, size_t length, size_t* got) {
    *got = 0;
    if (!IsOpen()) return false;
    while (*got < length) {
        const ssize_t n = ::read(fd_, static_cast<char*>(data) + *got, length - *got);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return false;
        if (n == 0) break;
        *got += size_t(n);
    }
    return true;
}

bool PosixFile::Write(const void* data, size_t length) {
    if (!IsOpen()) return false;
    for (size_t done = 0; done < length;) {
        const ssize_t n = ::write(fd_, static_cast<const char*>(data) + done, length - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += size_t(n);
    }
    return true;
}

// off_t is signed: a position past its range would come out negative.
bool PosixFile::Seek(uint64_t position) {
    if (!IsOpen() || position > uint64_t(INT64_MAX)) return false;
    return ::lseek(fd_, off_t(position), SEEK_SET) == off_t(position);
}

bool PosixFile::Length(uint64_t* length) {
    struct stat s;
    if (!IsOpen() || ::fstat(fd_, &s) != 0) return false;
    *length = uint64_t(s.st_size);
    return true;
}

bool PosixFile::Flush() { return IsOpen() && ::fsync(fd_) == 0; }

// Linux releases the descriptor even when close() reports an error, so it is
// never closed twice.
bool PosixFile::Close() {
    if (!IsOpen()) return false;
    const int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0;
}

bool PosixFile::Identify(FileIdentity* identity) {
    struct stat s;
    if (!IsOpen() || ::fstat(fd_, &s) != 0) return false;
    *identity = {uint64_t(s.st_dev), uint64_t(s.st_ino), uint32_t(s.st_nlink), uint64_t(s.st_size),
                 ToFileTime(s.st_mtim)};
    return true;
}

bool PosixFile::GetStatus(FileStatus* status) {
    struct stat s;
    if (!IsOpen() || ::fstat(fd_, &s) != 0) return false;
    *status = StatusOf(s);
    return true;
}

bool PosixFile::SetStatus(const FileStatus& status) {
    return IsOpen() && SetStatusThrough(fd_, status);
}

bool PosixFile::StillNamed(const struct stat& held) const {
    struct stat named;
    return ::lstat(path_.c_str(), &named) == 0 && named.st_dev == held.st_dev &&
           named.st_ino == held.st_ino;
}

bool PosixFile::StillNamed() const {
    struct stat held;
    return ::fstat(fd_, &held) == 0 && StillNamed(held);
}

MoveResult PosixFile::Rename(const std::string& to) {
    const std::string target = fs_->PosixPath(to);
    if (!IsOpen() || target.empty() || !StillNamed()) return {};
    if (!RenameNoReplace(path_, target)) return {};
    const std::string from = path_;
    path_ = target;
    return {true, SyncFoldersOf(from, target)};
}

// The descriptor goes either way; a large file's blocks are freed off the
// caller's path (late_close.h).
bool PosixFile::Remove() {
    if (!IsOpen()) return false;
    struct stat held;
    const bool removed =
        ::fstat(fd_, &held) == 0 && StillNamed(held) && ::unlink(path_.c_str()) == 0;
    const int fd = fd_;
    fd_ = -1;
    if (removed) {
        CloseDeleted(fd, held.st_size);
    } else {
        ::close(fd);
    }
    return removed;
}
