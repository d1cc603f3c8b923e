#pragma once
// A Finder over a readdir(3) listing, which it owns. Entries come in the
// order the folder gives them, "." and ".." among them. A link is listed as
// Windows lists one, a reparse point, with the kind and size of what it
// leads to (none when it leads nowhere).

#include <dirent.h>

#include "fileops/file_system.h"

class PosixFinder : public Finder {
  public:
    // nullptr when the folder cannot be listed.
    static std::unique_ptr<Finder> Start(const std::string& folder, const std::string& pattern);

    ~PosixFinder() override;
    PosixFinder(const PosixFinder&) = delete;
    PosixFinder& operator=(const PosixFinder&) = delete;

    bool Next(FindEntry* entry) override;
    bool BrokeOff() const override { return brokeOff_; }

  private:
    PosixFinder(DIR* dir, const std::string& pattern) : dir_(dir), pattern_(pattern) {}
    bool Describe(const char* name, FindEntry* entry);

    DIR* dir_;
    std::string pattern_;
    bool brokeOff_ = false;
};
