#pragma once
// An in-memory FileSystem for tests. It keeps the Windows behaviour that
// data-safety code depends on, and can fail any call on request.
//
// - Names compare without regard to ASCII case. A drive root ("C:\") always
//   exists; other folders exist only once added or created.
// - A name leads to a file's content, which other names may share (hard
//   links); an open handle keeps its content when its name goes or is taken
//   by another file, as POSIX keeps it.
// - Every open is exclusive: opening, creating, deleting, moving or SetStatus
//   of an open file fails. A Create handle cannot read, an OpenRead one
//   cannot write.
// - A read-only file cannot be opened or deleted, but can be moved.
// - A reparse tag set on a file or folder is listed with it; a file whose
//   tag is a link's (IsLink) does not open, as Win32FileSystem refuses it.
// - Create needs an existing parent folder and replaces nothing; Move does
//   not replace anything; Delete does not remove folders.
// - Each write ticks a fake clock into the file's last-write time. A time of 0
//   given to SetStatus leaves that time as it is.
// - SetCapacity limits the bytes of all files together; a write that does not
//   fit writes what fits and fails.
// - Find takes "<folder>\*" (a name prefix before the '*', or an exact name,
//   also works) and lists "." and ".." first except in a drive root, then the
//   folder's entries in name order.
//
// Faults: every call of a FileSystem, File or Finder method is one call (see
// fs_faults.h). A failed call has no effect and returns false or nullptr,
// except that DiskFull on Write writes half the bytes first, DiskFull on Move
// or Rename renames but cannot make it durable, ShortRead on Read succeeds
// with half the bytes asked for (rounded down), and a failed Close or Remove
// still releases the file.
//
// Handles refer back to their file system, which must outlive them.

#include <map>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "fs/file_system.h"
#include "tests/support/fs_faults.h"

// One write that changed a file, whole or in part.
struct WriteRecord {
    std::string path;  // as the file was opened
    uint64_t offset = 0;
    std::vector<uint8_t> bytes;
};

// What a handle may do.
enum class FileAccess { kRead, kWrite, kReadWrite };

class MemoryFileSystem : public FileSystem {
  public:
    // Times that AddFile gives by default: 2020-01-01, -02 and -03.
    static constexpr FileStatus kDefaultTimes = {132223104000000000, 132224832000000000,
                                                 132223968000000000, 0};

    // Setup. Both create the missing folders above path.
    void AddFolder(const std::string& path);
    void AddFile(const std::string& path, const std::vector<uint8_t>& bytes,
                 uint32_t attributes = attr::kArchive, const FileStatus& times = kDefaultTimes);
    void SetCapacity(uint64_t bytes) { capacity_ = bytes; }
    // The code page of its names (1252 unless set): 932, 936, 949 or 950 make
    // a double-byte system, whose names may hold the byte of '\' inside a
    // character.
    void SetCodePage(int number) { codePage_ = TableCodePage(number); }
    void DenyListing(const std::string& folder);
    // Makes an existing file or folder a reparse point of that tag.
    void SetReparseTag(const std::string& path, uint32_t tag);

    // Other programs at work while a job runs; none of these is a call.
    // Another name for the content of existing, as a backup's hard link.
    void AddLink(const std::string& existing, const std::string& path);
    // A new file in place of path, as an editor saves by rename: handles
    // open on the old one keep it, nameless.
    void ReplaceFile(const std::string& path, const std::vector<uint8_t>& bytes);
    // Bytes added at the end, as a log or a sync client adds them.
    void AppendTo(const std::string& path, const std::vector<uint8_t>& bytes);
    // Every file and folder of other, as a new start finds them after a
    // crash: contents, times and attributes, nothing open.
    void CopyDisk(const MemoryFileSystem& other);

    // Fault injection.
    void FailCall(uint64_t n, FsFault fault) { faults_.FailCall(n, fault); }
    void FailOp(FsOp op, int k, FsFault fault) { faults_.FailOp(op, k, fault); }
    // A crash after call n: the disk keeps the state that call left.
    void FreezeAfter(uint64_t n) { faults_.FreezeAfter(n); }
    uint64_t CallCount() const { return faults_.CallCount(); }
    void OnCall(std::function<void(FsOp, uint64_t)> hook) { faults_.OnCall(std::move(hook)); }

    // Inspection; none of these counts as a call.
    bool Exists(const std::string& path) const;
    bool IsFolder(const std::string& path) const;
    std::vector<uint8_t> Contents(const std::string& path) const;
    FileStatus Status(const std::string& path) const;
    int OpenHandleCount() const { return openHandles_; }
    bool IsOpen(const std::string& path) const;
    // Every file and folder, sorted as plain strings.
    std::vector<std::string> AllPaths() const;

    // The journal of writes and flushes, off until switched on.
    void RecordWrites(bool on) { recording_ = on; }
    const std::vector<WriteRecord>& Writes() const { return writes_; }
    // The path of every successful Flush, in order.
    const std::vector<std::string>& Flushes() const { return flushes_; }

    const CodePage& NameCodePage() const override { return codePage_; }
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

    // Every call holds the whole disk: a job may call from two threads (its
    // files are finished behind it), as a real file system allows.
    std::unique_lock<std::recursive_mutex> Hold() const {
        return std::unique_lock<std::recursive_mutex>(lock_);
    }

  private:
    friend class MemoryFile;
    friend class MemoryFinder;
    // Times given as 0 stay as they are.
    static void Apply(const FileStatus& status, bool folder, FileStatus* kept);

    // A name.
    struct Node {
        std::string path;  // as first given, without a trailing '\'
        bool folder = false;
        uint64_t content = 0;  // key of contents_
    };
    // What the names lead to.
    struct Content {
        bool open = false;
        std::vector<uint8_t> data;
        FileStatus status;
        uint32_t reparseTag = 0;
    };

    // Counts a call; true when it is to fail.
    bool Fails(FsOp op) { return faults_.Next(op).has_value(); }
    Node* Lookup(const std::string& key);
    const Node* Lookup(const std::string& key) const;
    Content* ContentOf(const std::string& key);
    const Content* ContentOf(const std::string& key) const;
    // The node of key, made if missing, with content of its own if it had none.
    Content& Name(const std::string& key, const std::string& path, bool folder);
    uint32_t LinksTo(uint64_t content) const;
    void Unname(const std::string& key);
    std::string StoredPath(const std::string& path) const;
    bool IsFolderKey(const std::string& key) const;
    std::vector<std::string> KeysUnder(const std::string& key) const;
    bool HasOpenFileUnder(const std::string& key) const;
    bool OpensAsFile(const std::string& key) const;
    std::unique_ptr<File> Open(const std::string& key, const std::string& path, FileAccess access);
    std::vector<FindEntry> List(const std::string& folderKey, const std::string& pattern) const;
    bool CanTakeName(const std::string& fromKey, const std::string& to) const;
    void Rename(const std::string& fromKey, const std::string& to);

    // For the handles.
    Content& ContentAt(uint64_t content) { return contents_.at(content); }
    void Release(uint64_t content);
    uint64_t FreeBytes() const;
    uint64_t Tick() { return clock_ += 10000000; }  // one second
    void Journal(const std::string& path, uint64_t offset, const uint8_t* bytes, size_t length);
    void JournalFlush(const std::string& path);

    std::map<std::string, Node> nodes_;  // by key
    std::map<uint64_t, Content> contents_;
    uint64_t nextContent_ = 1;
    std::set<std::string> unlisted_;  // folder keys that Find refuses
    FaultPlan faults_;
    mutable std::recursive_mutex lock_;
    TableCodePage codePage_{1252};
    uint64_t capacity_ = UINT64_MAX;
    uint64_t clock_ = 132539328000000000;  // 2021-01-01
    int openHandles_ = 0;
    bool recording_ = false;
    std::vector<WriteRecord> writes_;
    std::vector<std::string> flushes_;
};
