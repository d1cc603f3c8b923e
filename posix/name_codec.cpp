#include "posix/name_codec.h"

#include <iconv.h>

#include <algorithm>

#include "crypto/wipe.h"

namespace {

const char kUtf8[] = "UTF-8";

// One pass of iconv over the whole text; false on any character it cannot
// convert. A descriptor per call keeps the codec free to use from any thread.
bool Convert(const char* to, const char* from, const std::string& text, std::string* out) {
    const iconv_t cd = ::iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) return false;
    // Four bytes out for every byte in covers any of these code pages.
    std::string result(text.size() * 4, '\0');
    char* in = const_cast<char*>(text.data());
    size_t inLeft = text.size();
    char* put = &result[0];
    size_t putLeft = result.size();
    const bool done = ::iconv(cd, &in, &inLeft, &put, &putLeft) != size_t(-1) &&
                      ::iconv(cd, nullptr, nullptr, &put, &putLeft) != size_t(-1);
    ::iconv_close(cd);
    if (!done) {
        WipeString(result);
        return false;
    }
    result.resize(result.size() - putLeft);
    out->swap(result);
    return true;
}

// The length of the UTF-8 sequence a byte starts; 1 for a stray byte.
size_t SequenceLength(unsigned char lead) {
    if (lead >= 0xF0) return 4;
    if (lead >= 0xE0) return 3;
    if (lead >= 0xC0) return 2;
    return 1;
}

// Printable ASCII, whose bytes KeepsAscii checks.
bool IsPrintableAscii(const std::string& text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= ' ' && c <= '~'; });
}

}  // namespace

NameCodec::NameCodec(int codePage) : name_("CP" + std::to_string(codePage)) {
    asciiKept_ = KeepsAscii();
}

bool NameCodec::Known() const {
    const iconv_t cd = ::iconv_open(name_.c_str(), kUtf8);
    if (cd == reinterpret_cast<iconv_t>(-1)) return false;
    ::iconv_close(cd);
    return true;
}

bool NameCodec::KeepsAscii() const {
    std::string ascii, spelled;
    for (char c = ' '; c <= '~'; ++c) ascii += c;
    return FromUtf8(ascii, &spelled) && spelled == ascii;
}

// Passwords pass through here too: no copy is left behind unwiped.
bool NameCodec::FromUtf8(const std::string& text, std::string* out) const {
    if (asciiKept_ && IsPrintableAscii(text)) {
        *out = text;
        return true;
    }
    std::string spelled, back;
    const bool held =
        Convert(name_.c_str(), kUtf8, text, &spelled) && ToUtf8(spelled, &back) && back == text;
    if (held) out->swap(spelled);
    WipeString(spelled);
    WipeString(back);
    return held;
}

bool NameCodec::ToUtf8(const std::string& text, std::string* out) const {
    if (asciiKept_ && IsPrintableAscii(text)) {
        *out = text;
        return true;
    }
    return Convert(kUtf8, name_.c_str(), text, out);
}

std::string NameCodec::ListedName(const std::string& utf8Name) const {
    std::string whole;  // in UTF-8 a '\\' byte is always the character itself
    if (utf8Name.find('\\') == std::string::npos && FromUtf8(utf8Name, &whole)) return whole;
    std::string listed;
    for (size_t i = 0; i < utf8Name.size();) {
        const size_t length = SequenceLength(static_cast<unsigned char>(utf8Name[i]));
        const std::string character = utf8Name.substr(i, length);
        std::string spelled;
        listed += character != "\\" && FromUtf8(character, &spelled) ? spelled : "?";
        i += length;
    }
    return listed;
}
