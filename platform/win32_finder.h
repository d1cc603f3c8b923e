#pragma once
// A Finder over a FindFirstFileA search handle, which it owns.

#include <windows.h>

#include "fs/file_system.h"

class Win32Finder : public Finder {
  public:
    // Starts the search; nullptr when the folder cannot be listed. A pattern
    // that matches nothing gives an empty listing.
    static std::unique_ptr<Finder> Start(const std::string& pattern);

    ~Win32Finder() override;
    Win32Finder(const Win32Finder&) = delete;
    Win32Finder& operator=(const Win32Finder&) = delete;

    bool Next(FindEntry* entry) override;
    bool BrokeOff() const override { return brokeOff_; }

  private:
    Win32Finder(HANDLE handle, const WIN32_FIND_DATAA& first);

    HANDLE handle_;
    WIN32_FIND_DATAA pending_;  // found but not yet handed out
    bool hasPending_;
    bool brokeOff_ = false;
};
