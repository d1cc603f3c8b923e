#pragma once
// The product's FileSystem: the ANSI Win32 file API.

#include "fs/file_system.h"
#include "platform/win32_code_page.h"

class Win32FileSystem : public FileSystem {
  public:
    const CodePage& NameCodePage() const override { return SystemCodePage(); }
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
};
