#include "posix/posix_file_system.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

#include "fs/path_text.h"
#include "posix/file_lock.h"
#include "posix/folder_sync.h"
#include "posix/late_close.h"
#include "posix/posix_file.h"
#include "posix/posix_finder.h"
#include "posix/stat_fields.h"

namespace {

// A decrypted file holds what was encrypted: only its owner may read it.
constexpr mode_t kCreateMode = 0600;

}  // namespace

// Opens a regular file and takes its lock. O_NONBLOCK keeps a FIFO from
// stalling the open; on a regular file, the only kind kept, it does nothing.
std::unique_ptr<File> PosixFileSystem::OpenLocked(const std::string& path, int flags,
                                                  int lock) const {
    const int fd = ::open(path.c_str(), flags | O_CLOEXEC | O_NOCTTY | O_NONBLOCK, kCreateMode);
    if (fd < 0) return nullptr;
    auto file = std::make_unique<PosixFile>(fd, path, this);
    struct stat s;
    if (::fstat(fd, &s) != 0 || !S_ISREG(s.st_mode)) return nullptr;
    // Root passes the permission bits, so read-only is checked here.
    if ((flags & O_ACCMODE) != O_RDONLY && IsReadOnly(s.st_mode)) return nullptr;
    // A file Create made and lost to another handle at once is left to it.
    if (!TakeLock(fd, lock)) return nullptr;
    return file;
}

// UTF-8 spells no character with the byte of '\', so once converted every
// such byte is a separator.
std::string PosixFileSystem::PosixPath(const std::string& path) const {
    std::string result;
    if (!codec.ToUtf8(path, &result)) return std::string();
    std::replace(result.begin(), result.end(), '\\', '/');
    return result;
}

bool PosixFileSystem::GetAttributes(const std::string& path, uint32_t* attributes) {
    struct stat s;
    if (::stat(PosixPath(path).c_str(), &s) != 0) return false;
    *attributes = AttributesOf(s);
    return true;
}

bool PosixFileSystem::SetAttributes(const std::string& path, uint32_t attributes) {
    const std::string posix = PosixPath(path);
    struct stat s;
    if (::stat(posix.c_str(), &s) != 0) return false;
    if (S_ISDIR(s.st_mode)) return true;
    return ::chmod(posix.c_str(), ModeWithAttributes(s.st_mode, attributes)) == 0;
}

std::unique_ptr<File> PosixFileSystem::OpenRead(const std::string& path) {
    return OpenLocked(PosixPath(path), O_RDONLY, LOCK_SH);
}

std::unique_ptr<File> PosixFileSystem::OpenReadWrite(const std::string& path) {
    // Never through a link: the file a job overwrites and deletes must be
    // the one in the folder the user chose, not what a link leads to.
    return OpenLocked(PosixPath(path), O_RDWR | O_NOFOLLOW, LOCK_EX);
}

std::unique_ptr<File> PosixFileSystem::Create(const std::string& path) {
    return OpenLocked(PosixPath(path), O_WRONLY | O_CREAT | O_EXCL, LOCK_EX);
}

bool PosixFileSystem::GetStatus(const std::string& path, FileStatus* status) {
    struct stat s;
    if (::stat(PosixPath(path).c_str(), &s) != 0) return false;
    *status = StatusOf(s);
    return true;
}

// Through the descriptor held, where the path could be opened: the times and
// the mode that the permissions and the attributes make, in one change.
bool PosixFileSystem::SetStatus(const std::string& path, const FileStatus& status) {
    const std::string posix = PosixPath(path);
    const HeldAgainstOthers held(posix, O_RDONLY);
    if (held.HeldElsewhere()) return false;
    if (held.Descriptor() >= 0) return SetStatusThrough(held.Descriptor(), status);
    const timespec times[2] = {FromFileTime(status.lastAccessTime),
                               FromFileTime(status.lastWriteTime)};
    return ::utimensat(AT_FDCWD, posix.c_str(), times, 0) == 0 &&
           (status.mode == 0 || ::chmod(posix.c_str(), PermissionsOf(status.mode)) == 0) &&
           SetAttributes(path, status.attributes);
}

MoveResult PosixFileSystem::Move(const std::string& from, const std::string& to) {
    const std::string source = PosixPath(from);
    const std::string target = PosixPath(to);
    const HeldAgainstOthers held(source, O_RDONLY | O_NOFOLLOW);
    if (held.HeldElsewhere() || !RenameNoReplace(source, target)) return {};
    return {true, SyncFoldersOf(source, target)};
}

bool PosixFileSystem::Delete(const std::string& path) {
    const std::string posix = PosixPath(path);
    struct stat s;
    if (::lstat(posix.c_str(), &s) != 0 || S_ISDIR(s.st_mode)) return false;
    if (S_ISREG(s.st_mode) && IsReadOnly(s.st_mode)) return false;
    HeldAgainstOthers held(posix, O_RDONLY | O_NOFOLLOW);
    if (held.HeldElsewhere() || ::unlink(posix.c_str()) != 0) return false;
    const int fd = held.Release();
    if (fd >= 0) CloseDeleted(fd, s.st_size);
    return true;
}

std::string PosixFileSystem::PosixFolderOf(const std::string& path, size_t* last) const {
    const size_t slash = LastBackslash(path, codePage);
    if (slash == std::string::npos) {
        *last = 0;
        return ".";
    }
    *last = slash + 1;
    return slash == 0 ? "/" : PosixPath(path.substr(0, slash));
}

// The folder goes to the system; the last part is matched against names as
// the worker spells them.
std::unique_ptr<Finder> PosixFileSystem::Find(const std::string& pattern) {
    size_t last = 0;
    const std::string folder = PosixFolderOf(pattern, &last);
    return PosixFinder::Start(folder, pattern.substr(last), codec);
}

std::vector<std::string> PosixFileSystem::PathsListedAs(const std::string& listedPath) const {
    size_t last = 0;
    const std::string folder = PosixFolderOf(listedPath, &last);
    std::vector<std::string> paths;
    for (const std::string& name :
         PosixFinder::NamesListedAs(folder, listedPath.substr(last), codec)) {
        paths.push_back(folder == "/" ? "/" + name : folder + "/" + name);
    }
    return paths;
}
