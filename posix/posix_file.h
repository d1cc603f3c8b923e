#pragma once
// A File over a POSIX file descriptor, which it owns, with the lock that
// keeps it from this program's other handles (file_lock.h), and the path it
// was opened under. POSIX renames and removes names, not descriptors: a
// rename or removal first makes sure the name still leads to this file, so
// that a file another program put in its place is never the one that goes.

#include <sys/stat.h>

#include <string>

#include "fs/file_system.h"

class PosixFileSystem;

class PosixFile : public File {
  public:
    // fs turns Windows-form paths into POSIX ones, for Rename.
    PosixFile(int fd, std::string path, const PosixFileSystem* fs)
        : fd_(fd), path_(std::move(path)), fs_(fs) {}
    ~PosixFile() override;
    PosixFile(const PosixFile&) = delete;
    PosixFile& operator=(const PosixFile&) = delete;

    bool Read(void* data, size_t length, size_t* got) override;
    bool Write(const void* data, size_t length) override;
    bool Seek(uint64_t position) override;
    bool Length(uint64_t* length) override;
    // fsync(2): data and size on the device.
    bool Flush() override;
    bool Close() override;
    bool Identify(FileIdentity* identity) override;
    bool StillNamed() const override;
    bool GetStatus(FileStatus* status) override;
    bool SetStatus(const FileStatus& status) override;
    // Then syncs the folder, so that the new name is the one a crash leaves.
    MoveResult Rename(const std::string& to) override;
    bool Remove() override;

  private:
    bool IsOpen() const { return fd_ >= 0; }
    // held: what fstat gave for the descriptor.
    bool StillNamed(const struct stat& held) const;

    int fd_;
    std::string path_;
    const PosixFileSystem* fs_;
};
