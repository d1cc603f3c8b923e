#pragma once
// A File over a POSIX file descriptor, which it owns, with the lock that
// keeps it from this program's other handles (file_lock.h).

#include "fs/file_system.h"

class PosixFile : public File {
  public:
    explicit PosixFile(int fd) : fd_(fd) {}
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

  private:
    bool IsOpen() const { return fd_ >= 0; }

    int fd_;
};
