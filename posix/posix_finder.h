#pragma once
// A Finder over a readdir(3) listing, which it owns. Entries come in the
// order the folder gives them, "." and ".." among them. A link is listed as
// Windows lists one, a reparse point, with the kind and size of what it
// leads to (none when it leads nowhere). Names come as the codec spells them.

#include <dirent.h>

#include <vector>

#include "fs/file_system.h"
#include "posix/name_codec.h"

class PosixFinder : public Finder {
  public:
    // nullptr when the folder cannot be listed.
    // pattern: in the codec's code page; codec outlives the finder.
    static std::unique_ptr<Finder> Start(const std::string& folder, const std::string& pattern,
                                         const NameCodec& codec);
    // The names, as they are on disk, of the entries of folder that a listing
    // gives as listedName (several can share one), in listing order.
    static std::vector<std::string> NamesListedAs(const std::string& folder,
                                                  const std::string& listedName,
                                                  const NameCodec& codec);

    ~PosixFinder() override;
    PosixFinder(const PosixFinder&) = delete;
    PosixFinder& operator=(const PosixFinder&) = delete;

    bool Next(FindEntry* entry) override;
    bool BrokeOff() const override { return brokeOff_; }

  private:
    PosixFinder(DIR* dir, const std::string& pattern, const NameCodec& codec)
        : dir_(dir), pattern_(pattern), codec_(codec) {}
    bool Describe(const char* name, FindEntry* entry);

    DIR* dir_;
    std::string pattern_;
    const NameCodec& codec_;
    bool brokeOff_ = false;
};
