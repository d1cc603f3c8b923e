#pragma once
// A File over a Win32 handle, which it owns.

#include <windows.h>

#include "fs/file_system.h"

class Win32File : public File {
  public:
    explicit Win32File(HANDLE handle) : handle_(handle) {}
    ~Win32File() override;
    Win32File(const Win32File&) = delete;
    Win32File& operator=(const Win32File&) = delete;

    bool Read(void* data, size_t length, size_t* got) override;
    bool Write(const void* data, size_t length) override;
    bool Seek(uint64_t position) override;
    bool Length(uint64_t* length) override;
    bool Flush() override;
    bool Close() override;

  private:
    bool IsOpen() const { return handle_ != INVALID_HANDLE_VALUE; }

    HANDLE handle_;
};
