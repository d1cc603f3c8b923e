#include "posix/file_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

bool TakeLock(int fd, int kind) { return ::flock(fd, kind | LOCK_NB) == 0 || errno != EWOULDBLOCK; }

// O_NONBLOCK: a FIFO must not stall the open.
HeldAgainstOthers::HeldAgainstOthers(const std::string& path, int flags)
    : fd_(::open(path.c_str(), flags | O_CLOEXEC | O_NOCTTY | O_NONBLOCK)) {
    heldElsewhere_ = fd_ >= 0 && !TakeLock(fd_, LOCK_EX);
}

HeldAgainstOthers::~HeldAgainstOthers() {
    if (fd_ >= 0) ::close(fd_);
}

int HeldAgainstOthers::Release() {
    const int fd = fd_;
    fd_ = -1;
    return fd;
}
