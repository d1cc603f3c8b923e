#pragma once
// Real files for the suites of the POSIX FileSystem.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

// A fresh folder under /tmp, removed with all it holds. Its paths are given
// in the seam's form, with '\' separators.
class TempFolder {
  public:
    TempFolder() {
        char name[] = "/tmp/tarnu-XXXXXX";
        EXPECT_TRUE(::mkdtemp(name)) << name;
        posix_ = name;
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(posix_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    std::string operator/(const std::string& name) const { return Path() + "\\" + name; }
    std::string Path() const { return Seam(posix_); }
    // The POSIX path of name in the folder, for the calls beside the seam.
    std::string Posix(const std::string& name) const { return posix_ + "/" + name; }

  private:
    static std::string Seam(std::string path) {
        for (char& c : path) {
            if (c == '/') c = '\\';
        }
        return path;
    }

    std::string posix_;
};
