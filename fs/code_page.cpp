#include "fs/code_page.h"

bool TableCodePage::IsLeadByte(uint8_t byte) const {
    switch (number) {
        case 932:
            return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
        case 936:
        case 949:
        case 950:
            return byte >= 0x81 && byte <= 0xFE;
        default:
            return false;
    }
}

namespace {

// Upper case of one single-byte character in code page 1252.
uint8_t Upper1252(uint8_t c) {
    if (c >= 'a' && c <= 'z') return uint8_t(c - 0x20);
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return uint8_t(c - 0x20);
    switch (c) {
        case 0x9A:  // s caron
        case 0x9C:  // oe
        case 0x9E:  // z caron
            return uint8_t(c - 0x10);
        case 0xFF:  // y diaeresis
            return 0x9F;
        default:
            return c;
    }
}

}  // namespace

// Trail bytes are kept as they are: 0x61 after a lead byte is not an 'a'.
std::string TableCodePage::UpperCase(const std::string& text) const {
    std::string folded = text;
    const bool western = !IsLeadByte(0x81);
    for (size_t i = 0; i < folded.size(); ++i) {
        const uint8_t c = uint8_t(folded[i]);
        if (IsLeadByte(c)) {
            ++i;
        } else if (western) {
            folded[i] = char(Upper1252(c));
        } else if (c >= 'a' && c <= 'z') {
            folded[i] = char(c - 0x20);
        }
    }
    return folded;
}

bool TableCodePage::SameIgnoringCase(const std::string& a, const std::string& b) const {
    return a.size() == b.size() && UpperCase(a) == UpperCase(b);
}
