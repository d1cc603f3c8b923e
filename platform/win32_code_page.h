#pragma once
// The system's ANSI code page, as Windows itself splits and compares names.

#include <string>

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

// Names and other text between UTF-16 and the system's ANSI code page.
std::wstring WideFromSystem(const std::string& text);
// Exactly or not at all: false when a character has no form of its own in
// the code page, and then each such character is '?' in *out, never the
// look-alike a best fit would give ('\\' for U+FF3C or U+00A5, '.' for
// U+FF0E), which would make a name a path. Passwords pass through here:
// nothing of the text is left behind but *out.
bool SystemFromWide(const std::wstring& wide, std::string* out);
