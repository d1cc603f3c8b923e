#pragma once
// Files far larger than memory, for the test past 4 GiB. Their content is a
// head and then one run of bytes repeated to the end, so any offset's bytes
// can be computed. A RepeatingFile reads such content; a CheckingFile takes
// writes and compares each byte with it as it comes, keeping only the count
// and the first difference. LargeFileSystem hands them out for chosen paths.

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "tests/support/memory_file_system.h"

struct RepeatingContent {
    std::vector<uint8_t> head, run;
    uint64_t size = 0;
    void Fill(uint64_t offset, uint8_t* out, size_t length) const;
    // The offset of the first of the bytes that differs from the content at
    // offset, or UINT64_MAX when all are the same.
    uint64_t FirstDifference(uint64_t offset, const uint8_t* bytes, size_t length) const;

  private:
    // The longest stretch from offset that lies in one piece of memory.
    const uint8_t* Stretch(uint64_t offset, size_t* length) const;
};

struct WriteCheck {
    static constexpr uint64_t kNone = UINT64_MAX;
    uint64_t written = 0;
    uint64_t firstDifference = kNone;  // its offset
};

// Its name and identity are those of the memory file system's handle on the
// path, which it keeps open.
class RepeatingFile : public File {
  public:
    RepeatingFile(const RepeatingContent& content, std::unique_ptr<File> named)
        : content_(content), named_(std::move(named)) {}
    bool Read(void* data, size_t length, size_t* got) override;
    bool Write(const void*, size_t) override { return false; }
    bool Seek(uint64_t position) override;
    bool Length(uint64_t* length) override;
    bool Flush() override { return true; }
    bool Close() override { return named_->Close(); }
    bool Identify(FileIdentity* identity) override;
    bool StillNamed() const override { return named_->StillNamed(); }
    bool GetStatus(FileStatus* status) override { return named_->GetStatus(status); }
    MoveResult Rename(const std::string& to) override { return named_->Rename(to); }
    bool Remove() override { return named_->Remove(); }

  private:
    const RepeatingContent& content_;
    std::unique_ptr<File> named_;
    uint64_t position_ = 0;
};

// Written from the start, in order, as FileProcessor writes its outputs; its
// status goes to the memory file system's handle on the path.
class CheckingFile : public File {
  public:
    CheckingFile(const RepeatingContent& expected, WriteCheck& check, std::unique_ptr<File> named)
        : expected_(expected), check_(check), named_(std::move(named)) {}
    bool Read(void*, size_t, size_t*) override { return false; }
    bool Write(const void* data, size_t length) override;
    bool Seek(uint64_t position) override { return position == check_.written; }
    bool Length(uint64_t* length) override;
    bool Flush() override { return true; }
    bool Close() override { return named_->Close(); }
    bool SetStatus(const FileStatus& status) override { return named_->SetStatus(status); }

  private:
    const RepeatingContent& expected_;
    WriteCheck& check_;
    std::unique_ptr<File> named_;
};

// The chosen paths keep their nodes in the memory file system, empty, for
// attributes, times, moves and deletes; only their content is elsewhere.
class LargeFileSystem : public MemoryFileSystem {
  public:
    void AddRepeating(const std::string& path, const RepeatingContent& content);
    // What is written to files created in folder is compared as it comes:
    // outputs are written under a temporary name, then renamed.
    void CheckCreate(const std::string& folder, const RepeatingContent& expected,
                     WriteCheck& check);

    std::unique_ptr<File> OpenReadWrite(const std::string& path) override;
    std::unique_ptr<File> Create(const std::string& path) override;

  private:
    std::map<std::string, const RepeatingContent*> reads_;
    std::map<std::string, std::pair<const RepeatingContent*, WriteCheck*>> writes_;
};
