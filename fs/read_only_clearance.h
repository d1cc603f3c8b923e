#pragma once
// A file's attributes for the length of one operation: read at its start,
// the read-only attribute cleared while it runs and put back when the
// operation ends without having removed the file. Declare it before the
// file's handle, so the handle is closed first.

#include <string>

#include "fs/file_system.h"

class ReadOnlyClearance {
  public:
    ReadOnlyClearance(FileSystem& fs, std::string path) : fs(fs), path(std::move(path)) {}
    ReadOnlyClearance(const ReadOnlyClearance&) = delete;
    ReadOnlyClearance& operator=(const ReadOnlyClearance&) = delete;
    ~ReadOnlyClearance() {
        if (cleared && !kept) fs.SetAttributes(path, attributes);
    }

    bool ReadAttributes() { return fs.GetAttributes(path, &attributes); }
    uint32_t Attributes() const { return attributes; }
    bool IsReadOnly() const { return (attributes & attr::kReadOnly) != 0; }

    // A failure here shows up as a failure to open the file, which is reported.
    void Clear() {
        if (IsReadOnly()) cleared = fs.SetAttributes(path, attributes & ~attr::kReadOnly);
    }
    // The file is gone (or replaced): nothing to put back.
    void Keep() { kept = true; }

  private:
    FileSystem& fs;
    std::string path;
    uint32_t attributes = 0;
    bool cleared = false;
    bool kept = false;
};
