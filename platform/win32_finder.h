#pragma once
// A Finder over a FindFirstFileW search handle, which it owns. Names are
// listed as UTF-16 and given in the system's code page only when it spells
// them exactly: otherwise with '?' for what it lacks, so that no name turns
// into a path through a look-alike.

#include <windows.h>

#include "fs/file_system.h"

class Win32Finder : public Finder {
  public:
    // Starts the search (pattern in the system's code page); nullptr when the
    // folder cannot be listed. A pattern that matches nothing gives an empty
    // listing.
    static std::unique_ptr<Finder> Start(const std::string& pattern);
    static std::unique_ptr<Win32Finder> Start(const std::wstring& pattern);

    ~Win32Finder() override;
    Win32Finder(const Win32Finder&) = delete;
    Win32Finder& operator=(const Win32Finder&) = delete;

    bool Next(FindEntry* entry) override;
    bool BrokeOff() const override { return brokeOff_; }
    // The last entry's name as the system gave it.
    const std::wstring& WideName() const { return wideName_; }

  private:
    Win32Finder(HANDLE handle, const WIN32_FIND_DATAW& first);

    HANDLE handle_;
    WIN32_FIND_DATAW pending_;  // found but not yet handed out
    bool hasPending_;
    bool brokeOff_ = false;
    std::wstring wideName_;
};
