#pragma once
// The handles of MemoryFileSystem: an open file and a listing.

#include <string>
#include <vector>

#include "tests/support/memory_file_system.h"

class MemoryFile : public File {
  public:
    MemoryFile(MemoryFileSystem* fs, uint64_t content, std::string key, std::string path,
               FileAccess access)
        : fs_(fs),
          content_(content),
          key_(std::move(key)),
          path_(std::move(path)),
          access_(access) {}
    ~MemoryFile() override;
    MemoryFile(const MemoryFile&) = delete;
    MemoryFile& operator=(const MemoryFile&) = delete;

    bool Read(void* data, size_t length, size_t* got) override;
    bool Write(const void* data, size_t length) override;
    bool Seek(uint64_t position) override;
    bool Length(uint64_t* length) override;
    bool Flush() override;
    bool Close() override;
    bool Identify(FileIdentity* identity) override;
    bool StillNamed() const override;
    bool GetStatus(FileStatus* status) override;
    bool SetStatus(const FileStatus& status) override;
    MoveResult Rename(const std::string& to) override;
    bool Remove() override;

  private:
    std::vector<uint8_t>& Data() { return fs_->ContentAt(content_).data; }
    // Whether the name it was opened under still leads to its content.
    bool NameIsOwn() const;
    size_t ReadAt(void* data, size_t length);
    // Writes what fits; true when all of it did.
    bool WriteAt(const uint8_t* bytes, size_t length);
    void Release();

    MemoryFileSystem* fs_;
    uint64_t content_;
    std::string key_;   // its name, as the file system keys it
    std::string path_;  // as opened, for the journal
    FileAccess access_;
    bool open_ = true;
    uint64_t position_ = 0;
};

class MemoryFinder : public Finder {
  public:
    MemoryFinder(MemoryFileSystem* fs, std::vector<FindEntry> entries)
        : fs_(fs), entries_(std::move(entries)) {}

    bool Next(FindEntry* entry) override;
    bool BrokeOff() const override { return brokeOff_; }

  private:
    MemoryFileSystem* fs_;
    std::vector<FindEntry> entries_;
    size_t next_ = 0;
    bool brokeOff_ = false;
};
