#pragma once
// The FileSystem seam over POSIX calls, for the native builds.
// Paths keep the Windows form FileProcessor splits ('\' separators) and are
// mapped onto the POSIX tree: "\tmp\a.bin" is /tmp/a.bin.

#include "fileops/file_system.h"

class PosixFileSystem : public FileSystem {
  public:
    const CodePage& NameCodePage() const override { return codePage; }
    bool GetAttributes(const std::string& path, uint32_t* attributes) override;
    bool SetAttributes(const std::string& path, uint32_t attributes) override;
    std::unique_ptr<File> OpenRead(const std::string& path) override;
    std::unique_ptr<File> OpenReadWrite(const std::string& path) override;
    std::unique_ptr<File> Create(const std::string& path) override;
    bool GetStatus(const std::string& path, FileStatus* status) override;
    bool SetStatus(const std::string& path, const FileStatus& status) override;
    bool Move(const std::string& from, const std::string& to) override;
    bool Delete(const std::string& path) override;
    // A job on one file lists no folders.
    std::unique_ptr<Finder> Find(const std::string&) override { return nullptr; }

    // The POSIX path of a Windows-form one; the file opener uses it too.
    static std::string ToPosix(const std::string& path);

  private:
    TableCodePage codePage{1252};
};
