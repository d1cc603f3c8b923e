#include "posix/stat_fields.h"

#include <fcntl.h>
#include <sys/stat.h>

namespace {
// FILETIME counts 100 ns units from 1601, the POSIX clock seconds from 1970.
constexpr int64_t kEpochOffset = 116444736000000000;
constexpr int64_t kUnitsPerSecond = 10000000;
}  // namespace

// A time before 1601 has no FILETIME, and 0 would read as "no time": the
// earliest one stands in.
uint64_t ToFileTime(const timespec& time) {
    const int64_t units = int64_t(time.tv_sec) * kUnitsPerSecond + time.tv_nsec / 100;
    return units > -kEpochOffset ? uint64_t(units + kEpochOffset) : 1;
}

timespec FromFileTime(uint64_t time) {
    timespec result{};
    if (time == 0) {
        result.tv_nsec = UTIME_OMIT;
        return result;
    }
    // Floor division, so that times before 1970 keep 0 <= tv_nsec < 1 s.
    const int64_t units = int64_t(time) - kEpochOffset;
    int64_t seconds = units / kUnitsPerSecond;
    int64_t rest = units % kUnitsPerSecond;
    if (rest < 0) {
        --seconds;
        rest += kUnitsPerSecond;
    }
    result.tv_sec = time_t(seconds);
    result.tv_nsec = long(rest * 100);
    return result;
}

uint32_t PermissionsOf(uint32_t mode) { return mode & 0777; }

bool IsReadOnly(mode_t mode) { return (mode & S_IWUSR) == 0; }

uint32_t AttributesOf(const struct stat& s) {
    uint32_t attributes = S_ISDIR(s.st_mode) ? attr::kDirectory : attr::kArchive;
    if (IsReadOnly(s.st_mode)) attributes |= attr::kReadOnly;
    return attributes;
}

mode_t ModeWithAttributes(mode_t mode, uint32_t attributes) {
    if (S_ISDIR(mode)) return mode & 07777;
    if (attributes & attr::kReadOnly) {
        mode &= ~mode_t(S_IWUSR | S_IWGRP | S_IWOTH);
    } else {
        mode |= S_IWUSR;
    }
    return mode & 07777;
}

FileStatus StatusOf(const struct stat& s) {
    FileStatus status;
    status.creationTime = ToFileTime(s.st_mtim);
    status.lastAccessTime = ToFileTime(s.st_atim);
    status.lastWriteTime = ToFileTime(s.st_mtim);
    status.attributes = AttributesOf(s);
    status.mode = PermissionsOf(s.st_mode);
    return status;
}

bool SetStatusThrough(int fd, const FileStatus& status) {
    struct stat s;
    if (::fstat(fd, &s) != 0) return false;
    const timespec times[2] = {FromFileTime(status.lastAccessTime),
                               FromFileTime(status.lastWriteTime)};
    if (status.mode != 0) s.st_mode = (s.st_mode & S_IFMT) | PermissionsOf(status.mode);
    const bool changed = status.mode != 0 || !S_ISDIR(s.st_mode);
    return ::futimens(fd, times) == 0 &&
           (!changed || ::fchmod(fd, ModeWithAttributes(s.st_mode, status.attributes)) == 0);
}
