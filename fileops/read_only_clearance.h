#pragma once
// Clears a file's read-only attribute for the length of one operation and puts
// it back when the operation ends without having removed the file. Declare it
// before the file's handle, so the handle is closed first.

#include <string>

#include "fileops/file_system.h"

class ReadOnlyClearance {
  public:
    ReadOnlyClearance(FileSystem& fs, std::string path, uint32_t attributes)
        : fs(fs), path(std::move(path)), attributes(attributes) {}
    ReadOnlyClearance(const ReadOnlyClearance&) = delete;
    ReadOnlyClearance& operator=(const ReadOnlyClearance&) = delete;
    ~ReadOnlyClearance() {
        if (cleared && !kept) fs.SetAttributes(path, attributes);
    }

    // A failure here shows up as a failure to open the file, which is reported.
    void Clear() {
        if (attributes & attr::kReadOnly)
            cleared = fs.SetAttributes(path, attributes & ~attr::kReadOnly);
    }
    // The file is gone (or replaced): nothing to put back.
    void Keep() { kept = true; }

  private:
    FileSystem& fs;
    std::string path;
    uint32_t attributes;
    bool cleared = false;
    bool kept = false;
};
