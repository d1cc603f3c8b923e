#pragma once
// Names between the code page the worker spells them in (the bytes stored in
// ".cpy" files) and the UTF-8 of the POSIX tree, by the C library's iconv.
// A character without a place in the code page is never spelled by a
// look-alike: a text counts as held only when it comes back unchanged, so
// no name can gain a separator ("¥" is 0x5C in code page 932) on the way.

#include <string>

class NameCodec {
  public:
    explicit NameCodec(int codePage);
    // Whether the C library can convert this code page.
    bool Known() const;
    // Whether it spells every printable ASCII character as that character's
    // own byte, as paths need ('\\', ':', '.'): EBCDIC code pages do not.
    bool KeepsAscii() const;
    // text in UTF-8 as the code page spells it; false when it holds a
    // character the code page cannot, or is not UTF-8.
    bool FromUtf8(const std::string& text, std::string* out) const;
    // The reverse; false when text is not valid in the code page.
    bool ToUtf8(const std::string& text, std::string* out) const;
    // A name from a folder listing as Windows lists one its code page cannot
    // spell: '?' for each character the code page lacks, and for '\', which
    // would split the name in the worker's paths.
    std::string ListedName(const std::string& utf8Name) const;

  private:
    std::string name_;
    // Printable ASCII is its own spelling both ways: a text of it alone needs
    // no converter (every path goes through here, several times a file).
    bool asciiKept_ = false;
};
