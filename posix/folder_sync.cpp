#include "posix/folder_sync.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace {

std::string FolderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// A file system that cannot synchronize a folder says so with EINVAL: its
// entries are as stored as they will get.
bool SyncFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool synced = ::fsync(fd) == 0 || errno == EINVAL;
    return ::close(fd) == 0 && synced;
}

bool LinkAndUnlink(const std::string& from, const std::string& to) {
    struct stat s;
    if (::lstat(from.c_str(), &s) != 0 || S_ISDIR(s.st_mode)) return false;
    if (::link(from.c_str(), to.c_str()) != 0) return false;
    if (::unlink(from.c_str()) == 0) return true;
    ::unlink(to.c_str());  // no second name left behind
    return false;
}

}  // namespace

bool RenameNoReplace(const std::string& from, const std::string& to) {
#ifdef RENAME_NOREPLACE
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS) return false;
#endif
    return LinkAndUnlink(from, to);
}

bool SyncFoldersOf(const std::string& from, const std::string& to) {
    const std::string source = FolderOf(from);
    const std::string target = FolderOf(to);
    return SyncFolder(target) && (source == target || SyncFolder(source));
}
