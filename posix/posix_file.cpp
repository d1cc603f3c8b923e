#include "posix/posix_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

PosixFile::~PosixFile() {
    if (fd_ >= 0) ::close(fd_);
}

// read() may return less than asked before the end; only 0 means the end.
bool PosixFile::Read(void* data, size_t length, size_t* got) {
    *got = 0;
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
    for (size_t done = 0; done < length;) {
        const ssize_t n = ::write(fd_, static_cast<const char*>(data) + done, length - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += size_t(n);
    }
    return true;
}

bool PosixFile::Seek(uint64_t position) {
    return ::lseek(fd_, off_t(position), SEEK_SET) == off_t(position);
}

bool PosixFile::Length(uint64_t* length) {
    struct stat s;
    if (::fstat(fd_, &s) != 0) return false;
    *length = uint64_t(s.st_size);
    return true;
}

bool PosixFile::Flush() { return ::fsync(fd_) == 0; }

bool PosixFile::Close() {
    const int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0;
}
