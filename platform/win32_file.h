#pragma once
// A File over a Win32 handle, which it owns, and the path it was opened
// under. A handle opened with DELETE access is renamed and removed through
// itself, and no one else can open the file under any name until it is gone.
// Where another system's programs share the disk (Wine), one may still put a
// file in its name's place: a rename or removal first makes sure the name
// still leads to this file.

#include <windows.h>

#include <string>

#include "fs/file_system.h"

// Windows reads 0 as "no change"; no bits set is spelled FILE_ATTRIBUTE_NORMAL.
DWORD AttributesToSet(uint32_t attributes);
// The three times (0 leaves one as it is) and the attributes, through a
// handle that may write attributes.
bool SetStatusThrough(HANDLE handle, const FileStatus& status);

class Win32File : public File {
  public:
    Win32File(HANDLE handle, std::string path) : handle_(handle), path_(std::move(path)) {}
    ~Win32File() override;
    Win32File(const Win32File&) = delete;
    Win32File& operator=(const Win32File&) = delete;

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
    bool IsOpen() const { return handle_ != INVALID_HANDLE_VALUE; }
    // index: this handle's file's, as FileIndexOf gave it.
    bool StillNamed(uint64_t index) const;

    HANDLE handle_;
    std::string path_;
};
