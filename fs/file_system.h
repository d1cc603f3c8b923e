#pragma once
// The file operations the program uses, behind one seam: Win32FileSystem is
// the product's, PosixFileSystem the Linux builds', and tests use an
// in-memory file system that can fail any call.
//
// Paths are ANSI byte strings with '\' separators, as Windows takes them.
// Sizes and offsets are 64-bit. Every operation reports failure by returning
// false (or nullptr); none throws.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "fs/code_page.h"

// File attribute bits, with the values Windows gives them.
namespace attr {
constexpr uint32_t kReadOnly = 0x01;
constexpr uint32_t kHidden = 0x02;
constexpr uint32_t kSystem = 0x04;
constexpr uint32_t kDirectory = 0x10;
constexpr uint32_t kArchive = 0x20;
constexpr uint32_t kNormal = 0x80;
constexpr uint32_t kReparsePoint = 0x400;
}  // namespace attr

// The reparse tags of links, with the values Windows gives them.
namespace reparse {
constexpr uint32_t kMountPoint = 0xA0000003;  // a junction, or a volume mounted on a folder
constexpr uint32_t kSymbolicLink = 0xA000000C;
}  // namespace reparse

// Whether a name with these attributes and reparse tag is a link, whose
// target may lie anywhere. Other reparse points (cloud placeholders,
// deduplicated files) hold their own data. A reparse point without a tag
// (POSIX gives none) counts as a link: leaving it alone is the safe side.
inline bool IsLink(uint32_t attributes, uint32_t reparseTag) {
    return (attributes & attr::kReparsePoint) &&
           (reparseTag == 0 || reparseTag == reparse::kMountPoint ||
            reparseTag == reparse::kSymbolicLink);
}

// Times are Windows FILETIME values (100 ns units since 1601) as 64-bit numbers.
struct FileStatus {
    uint64_t creationTime = 0;
    uint64_t lastAccessTime = 0;
    uint64_t lastWriteTime = 0;
    uint32_t attributes = 0;
    // POSIX permission bits (0777); 0 where none are kept, as on Windows.
    uint32_t mode = 0;
};

// Which file an open handle holds, as the system tells files apart, and
// what a job compares before it removes one: a file that another program
// replaced, appended to or gave another name is not the file that was read.
struct FileIdentity {
    uint64_t volume = 0;
    uint64_t index = 0;  // unique on its volume while the file exists
    uint32_t links = 0;  // names the content has (hard links)
    uint64_t length = 0;
    uint64_t lastWriteTime = 0;
};

// Still the file that was read, as it was read.
inline bool SameFileUnchanged(const FileIdentity& read, const FileIdentity& now) {
    return read.volume == now.volume && read.index == now.index && read.length == now.length &&
           read.lastWriteTime == now.lastWriteTime;
}

// What a rename did. It may have happened without being made durable (the
// folder could not be synced): the file then has its new name, which a power
// cut may still take back. Tested as a bool, it is a durable rename.
struct MoveResult {
    bool renamed = false;
    bool durable = false;
    explicit operator bool() const { return renamed && durable; }
};

// One entry of a folder listing.
struct FindEntry {
    std::string name;  // last path component only
    uint32_t attributes = 0;
    uint64_t size = 0;
    uint32_t reparseTag = 0;  // when attributes hold attr::kReparsePoint
};

// An open file. Destroying it closes it without reporting; call Close to learn
// whether the close succeeded.
class File {
  public:
    virtual ~File() = default;
    // Reads up to length bytes; *got < length at the end of the file.
    virtual bool Read(void* data, size_t length, size_t* got) = 0;
    // Writes all length bytes or fails.
    virtual bool Write(const void* data, size_t length) = 0;
    virtual bool Seek(uint64_t position) = 0;
    virtual bool Length(uint64_t* length) = 0;
    // Asks the device to store everything written so far.
    virtual bool Flush() = 0;
    virtual bool Close() = 0;

    // Which file this is, its names, length and last-write time: what the
    // handle knows, without a look at any path.
    virtual bool Identify(FileIdentity*) { return false; }
    // Whether its name (as opened, or as last given) still leads to it.
    virtual bool StillNamed() const { return false; }
    // As GetStatus and SetStatus of its path, through the handle (one opened
    // for writing, to set).
    virtual bool GetStatus(FileStatus*) { return false; }
    virtual bool SetStatus(const FileStatus&) { return false; }
    // Gives the open file another name, never over an existing one, while
    // the name it was opened under (or last given) is still its own.
    virtual MoveResult Rename(const std::string&) { return {}; }
    // Removes the open file, while its name is still its own, and closes the
    // handle either way. Removal through the handle: no other file that took
    // the name meanwhile is removed.
    virtual bool Remove() { return false; }
};

// A folder listing in progress.
class Finder {
  public:
    virtual ~Finder() = default;
    // The next entry; false when there are no more. "." and ".." are included
    // where the system lists them.
    virtual bool Next(FindEntry* entry) = 0;
    // After Next gave false: whether the listing broke off with an error
    // rather than at its end, so entries may be missing.
    virtual bool BrokeOff() const = 0;
};

class FileSystem {
  public:
    virtual ~FileSystem() = default;

    // The code page its names are spelled in, and how it compares them.
    virtual const CodePage& NameCodePage() const = 0;
    // The longest path it opens: Windows' ANSI calls take 259 bytes and the
    // terminator.
    virtual size_t MaxPathLength() const { return 259; }

    virtual bool GetAttributes(const std::string& path, uint32_t* attributes) = 0;
    virtual bool SetAttributes(const std::string& path, uint32_t attributes) = 0;

    // Opening for writing never goes through a link (see IsLink): it fails.
    // Opens an existing file for reading only, shared with other readers.
    virtual std::unique_ptr<File> OpenRead(const std::string& path) = 0;
    // Opens an existing file for reading and writing, shared with no one; it
    // may be renamed and removed through the handle.
    virtual std::unique_ptr<File> OpenReadWrite(const std::string& path) = 0;
    // Creates a new file for writing, shared with no one. Fails when the name
    // is taken: a file that appeared after the caller looked is not replaced.
    virtual std::unique_ptr<File> Create(const std::string& path) = 0;

    // Times, attributes and mode of a file that is not open.
    virtual bool GetStatus(const std::string& path, FileStatus* status) = 0;
    // Applies the three times, then the mode (unless 0) where modes are kept,
    // then the attributes: read-only takes the write bits of the mode.
    virtual bool SetStatus(const std::string& path, const FileStatus& status) = 0;

    // Renames within one drive, never over an existing file; the new name is
    // on the device when it returns durable.
    virtual MoveResult Move(const std::string& from, const std::string& to) = 0;
    virtual bool Delete(const std::string& path) = 0;

    // Lists the entries matching pattern (a folder followed by "\*", say).
    // nullptr when the folder cannot be listed; an empty listing otherwise.
    virtual std::unique_ptr<Finder> Find(const std::string& pattern) = 0;
};
