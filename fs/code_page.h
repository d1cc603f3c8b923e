#pragma once
// How the system's ANSI code page spells names. In the double-byte code pages
// (932, 936, 949, 950) a character may take two bytes, and its second byte can
// be the byte of '\' (0x5C) or '|' (0x7C): every split, scan and comparison of
// a path asks the code page where characters start.

#include <cstdint>
#include <string>

class CodePage {
  public:
    virtual ~CodePage() = default;
    // Whether byte starts a two-byte character.
    virtual bool IsLeadByte(uint8_t byte) const = 0;
    // Whether a and b name the same file to the system, letter case aside.
    virtual bool SameIgnoringCase(const std::string& a, const std::string& b) const = 0;
};

// A code page from lead-byte tables, for the portable layers and their tests:
// 932, 936, 949 and 950 are double-byte, anything else is taken as the Western
// single-byte code page 1252. Letter case is folded in single-byte characters
// only (ASCII, and the Latin letters of 1252).
class TableCodePage : public CodePage {
  public:
    explicit TableCodePage(int number) : number(number) {}
    bool IsLeadByte(uint8_t byte) const override;
    bool SameIgnoringCase(const std::string& a, const std::string& b) const override;
    int Number() const { return number; }
    // text with its single-byte letters in upper case: names that differ in
    // case only give the same result.
    std::string UpperCase(const std::string& text) const;

  private:
    int number;
};
