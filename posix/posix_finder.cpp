#include "posix/posix_finder.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>

#include "posix/name_pattern.h"
#include "posix/stat_fields.h"

std::unique_ptr<Finder> PosixFinder::Start(const std::string& folder, const std::string& pattern,
                                           const NameCodec& codec) {
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return nullptr;
    return std::unique_ptr<Finder>(new PosixFinder(dir, pattern, codec));
}

std::vector<std::string> PosixFinder::NamesListedAs(const std::string& folder,
                                                    const std::string& listedName,
                                                    const NameCodec& codec) {
    std::vector<std::string> names;
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return names;
    while (const dirent* found = ::readdir(dir)) {
        if (codec.ListedName(found->d_name) == listedName) names.push_back(found->d_name);
    }
    ::closedir(dir);
    return names;
}

PosixFinder::~PosixFinder() { ::closedir(dir_); }

// readdir gives nullptr both at the end and on an error; only errno tells.
bool PosixFinder::Next(FindEntry* entry) {
    for (;;) {
        errno = 0;
        const dirent* found = ::readdir(dir_);
        if (!found) {
            brokeOff_ = brokeOff_ || errno != 0;
            return false;
        }
        entry->name = codec_.ListedName(found->d_name);
        if (NameMatches(entry->name, pattern_) && Describe(found->d_name, entry)) return true;
    }
}

// An entry removed since the folder was read is passed over. One that cannot
// be looked at is left out, and the listing counts as broken off.
bool PosixFinder::Describe(const char* name, FindEntry* entry) {
    struct stat s;
    if (::fstatat(::dirfd(dir_), name, &s, AT_SYMLINK_NOFOLLOW) != 0) {
        brokeOff_ = brokeOff_ || errno != ENOENT;
        return false;
    }
    entry->attributes = 0;
    entry->size = 0;
    entry->reparseTag = 0;
    if (S_ISLNK(s.st_mode)) {
        entry->attributes = attr::kReparsePoint;
        entry->reparseTag = reparse::kSymbolicLink;
        if (::fstatat(::dirfd(dir_), name, &s, 0) != 0) return true;
    }
    entry->attributes |= AttributesOf(s);
    if (S_ISREG(s.st_mode)) entry->size = uint64_t(s.st_size);
    return true;
}
