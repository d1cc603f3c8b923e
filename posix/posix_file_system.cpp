#include "posix/posix_file_system.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>

#include "posix/posix_file.h"

namespace {

// FILETIME counts 100 ns units from 1601, the Unix clock seconds from 1970.
const uint64_t kEpochOffset = 116444736000000000ull;

uint64_t ToFileTime(const timespec& t) {
    return kEpochOffset + uint64_t(t.tv_sec) * 10000000 + uint64_t(t.tv_nsec) / 100;
}

timespec FromFileTime(uint64_t time) {
    const uint64_t units = time - kEpochOffset;
    timespec t;
    t.tv_sec = time_t(units / 10000000);
    t.tv_nsec = long(units % 10000000) * 100;
    return t;
}

std::unique_ptr<File> OpenFile(const std::string& path, int flags) {
    const int fd = ::open(PosixFileSystem::ToPosix(path).c_str(), flags | O_CLOEXEC, 0644);
    if (fd < 0) return nullptr;
    return std::make_unique<PosixFile>(fd);
}

}  // namespace

std::string PosixFileSystem::ToPosix(const std::string& path) {
    std::string result = path;
    std::replace(result.begin(), result.end(), '\\', '/');
    return result;
}

// Only the bits a POSIX file has: folder, and read-only for no write access.
bool PosixFileSystem::GetAttributes(const std::string& path, uint32_t* attributes) {
    struct stat s;
    if (::stat(ToPosix(path).c_str(), &s) != 0) return false;
    *attributes = S_ISDIR(s.st_mode) ? attr::kDirectory : attr::kArchive;
    if (!(s.st_mode & S_IWUSR)) *attributes |= attr::kReadOnly;
    return true;
}

bool PosixFileSystem::SetAttributes(const std::string& path, uint32_t attributes) {
    const mode_t mode = (attributes & attr::kReadOnly) ? 0444 : 0644;
    return ::chmod(ToPosix(path).c_str(), mode) == 0;
}

std::unique_ptr<File> PosixFileSystem::OpenRead(const std::string& path) {
    return OpenFile(path, O_RDONLY);
}

std::unique_ptr<File> PosixFileSystem::OpenReadWrite(const std::string& path) {
    return OpenFile(path, O_RDWR);
}

std::unique_ptr<File> PosixFileSystem::Create(const std::string& path) {
    return OpenFile(path, O_WRONLY | O_CREAT | O_EXCL);
}

// POSIX keeps no creation time; the change time stands in for it.
bool PosixFileSystem::GetStatus(const std::string& path, FileStatus* status) {
    struct stat s;
    if (::stat(ToPosix(path).c_str(), &s) != 0) return false;
    status->creationTime = ToFileTime(s.st_ctim);
    status->lastAccessTime = ToFileTime(s.st_atim);
    status->lastWriteTime = ToFileTime(s.st_mtim);
    return GetAttributes(path, &status->attributes);
}

bool PosixFileSystem::SetStatus(const std::string& path, const FileStatus& status) {
    const timespec times[2] = {FromFileTime(status.lastAccessTime),
                               FromFileTime(status.lastWriteTime)};
    return ::utimensat(AT_FDCWD, ToPosix(path).c_str(), times, 0) == 0 &&
           SetAttributes(path, status.attributes);
}

// Unlike Windows, replaces an existing target; the job never moves onto one.
bool PosixFileSystem::Move(const std::string& from, const std::string& to) {
    return std::rename(ToPosix(from).c_str(), ToPosix(to).c_str()) == 0;
}

bool PosixFileSystem::Delete(const std::string& path) {
    return ::unlink(ToPosix(path).c_str()) == 0;
}
