#pragma once
// The FileSystem seam over POSIX calls. Paths keep the Windows form that
// FileProcessor splits ('\' separators) and are mapped onto the POSIX tree:
// "\tmp\a.bin" is /tmp/a.bin. The worker spells names in a Windows code page
// (1252 unless told), the tree in UTF-8 (name_codec.h); a listed name the code
// page cannot spell comes with '?' in it, as Windows lists one.
//
// How the Windows rules the data-safety code relies on come out here:
// - Create opens with O_EXCL and so never replaces; its file is the user's
//   alone (mode 0600).
// - "Shared with no one" holds among this program's own handles only, by
//   advisory locks (file_lock.h): a file held by one is refused to OpenRead,
//   OpenReadWrite, Delete, Move and SetStatus of another.
// - Read-only is the owner's write bit. OpenReadWrite and Delete refuse such
//   a file by its mode, also for root, whom the permissions do not stop.
//   Setting it clears every write bit; clearing it gives the owner's back.
//   A folder's permissions are left alone.
// - POSIX keeps no creation time: the last-write time stands in for it, and
//   SetStatus cannot set it. Hidden, system and archive are not kept.
// - A status carries the permission bits (stat_fields.h), so an output
//   stamped with its source's status gets its mode once it is complete; a
//   ".cpy" file carries its original's, and the restored file gets them back.
// - Move renames without replacing (renameat2 RENAME_NOREPLACE, or a hard
//   link and an unlink where that is not there) and synchronizes the folders
//   it changed. Where neither way works, Move fails; where the folders cannot
//   be synced, it says the rename is not durable.
// - A file opened for reading and writing is renamed and removed through its
//   handle only while its name still leads to it (posix_file.h).
// - Only regular files are opened, and OpenReadWrite never opens one through
//   a link (a job would wipe and delete what the link leads to); Delete takes
//   files and links, not folders.
// - Find takes "<folder>\<pattern>" (name_pattern.h); see posix_finder.h.

#include <climits>
#include <vector>

#include "fs/file_system.h"
#include "posix/name_codec.h"

class PosixFileSystem : public FileSystem {
  public:
    // codePage: one NameCodec knows.
    explicit PosixFileSystem(int codePage = 1252) : codePage(codePage), codec(codePage) {}
    const CodePage& NameCodePage() const override { return codePage; }
    // The system's own limit; a name too long for it fails to be created.
    size_t MaxPathLength() const override { return PATH_MAX - 1; }
    bool GetAttributes(const std::string& path, uint32_t* attributes) override;
    bool SetAttributes(const std::string& path, uint32_t attributes) override;
    std::unique_ptr<File> OpenRead(const std::string& path) override;
    std::unique_ptr<File> OpenReadWrite(const std::string& path) override;
    std::unique_ptr<File> Create(const std::string& path) override;
    bool GetStatus(const std::string& path, FileStatus* status) override;
    bool SetStatus(const std::string& path, const FileStatus& status) override;
    MoveResult Move(const std::string& from, const std::string& to) override;
    bool Delete(const std::string& path) override;
    std::unique_ptr<Finder> Find(const std::string& pattern) override;

    // The POSIX path of a Windows-form one; empty when its bytes are not
    // valid in the code page (no call succeeds on the empty path).
    std::string PosixPath(const std::string& path) const;
    // The POSIX paths of the entries Find lists as listedPath, in listing
    // order: only the name on disk tells which file a name listed with '?'
    // for what the code page lacks is.
    std::vector<std::string> PathsListedAs(const std::string& listedPath) const;

  private:
    std::unique_ptr<File> OpenLocked(const std::string& path, int flags, int lock) const;
    // The POSIX folder of a Windows-form path, whose last part starts at *last.
    std::string PosixFolderOf(const std::string& path, size_t* last) const;

    TableCodePage codePage;
    NameCodec codec;
};
