#pragma once
// The system's ANSI code page, as Windows itself splits and compares names.

#include "fs/code_page.h"

class Win32CodePage : public CodePage {
  public:
    bool IsLeadByte(uint8_t byte) const override;
    // As the file system compares names: each character's upper case, in
    // UTF-16, ordinal.
    bool SameIgnoringCase(const std::string& a, const std::string& b) const override;
};

// The one instance, for code that has no file system at hand.
const Win32CodePage& SystemCodePage();
