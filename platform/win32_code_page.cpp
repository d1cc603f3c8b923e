#include "platform/win32_code_page.h"

#include <windows.h>

#include <algorithm>

#include "crypto/wipe.h"

namespace {

void WipeWide(std::wstring& text) {
    if (!text.empty()) WipeBytes(&text[0], text.size() * sizeof(wchar_t));
}

// Without best fit, where the code page allows it: a character with no form
// of its own comes out as the default character.
void Narrow(const wchar_t* wide, size_t length, std::string* out) {
    const DWORD flags = GetACP() == CP_UTF8 ? 0 : WC_NO_BEST_FIT_CHARS;
    const int size =
        ::WideCharToMultiByte(CP_ACP, flags, wide, int(length), nullptr, 0, nullptr, nullptr);
    out->assign(size_t(std::max(size, 0)), '\0');
    if (size > 0)
        ::WideCharToMultiByte(CP_ACP, flags, wide, int(length), &(*out)[0], size, nullptr, nullptr);
}

// The test of exactness: the bytes read back as the very characters. It holds
// whatever the system's conversion does with the flag.
bool ReadsBackAs(const std::string& text, const wchar_t* wide, size_t length) {
    std::wstring back = WideFromSystem(text);
    const bool same = back.size() == length && std::equal(back.begin(), back.end(), wide);
    WipeWide(back);
    return same;
}

}  // namespace

bool Win32CodePage::IsLeadByte(uint8_t byte) const { return ::IsDBCSLeadByteEx(CP_ACP, byte); }

bool Win32CodePage::SameIgnoringCase(const std::string& a, const std::string& b) const {
    if (a.empty() || b.empty()) return a.empty() && b.empty();
    const std::wstring wa = WideFromSystem(a), wb = WideFromSystem(b);
    return ::CompareStringOrdinal(wa.c_str(), int(wa.size()), wb.c_str(), int(wb.size()), TRUE) ==
           CSTR_EQUAL;
}

const Win32CodePage& SystemCodePage() {
    static const Win32CodePage codePage;
    return codePage;
}

std::wstring WideFromSystem(const std::string& text) {
    if (text.empty()) return std::wstring();
    const int length = ::MultiByteToWideChar(CP_ACP, 0, text.data(), int(text.size()), nullptr, 0);
    std::wstring wide(size_t(std::max(length, 0)), L'\0');
    if (length > 0)
        ::MultiByteToWideChar(CP_ACP, 0, text.data(), int(text.size()), &wide[0], length);
    return wide;
}

bool SystemFromWide(const std::wstring& wide, std::string* out) {
    WipeString(*out);
    if (wide.empty()) return true;
    Narrow(wide.data(), wide.size(), out);
    if (ReadsBackAs(*out, wide.data(), wide.size())) return true;
    // Character by character, so that only what the code page lacks becomes
    // '?'. Room for every character first: no copy is left by a reallocation.
    WipeString(*out);
    out->reserve(wide.size() * 3);
    std::string one;
    one.reserve(8);
    for (size_t i = 0; i < wide.size();) {
        const size_t n =
            IS_HIGH_SURROGATE(wide[i]) && i + 1 < wide.size() && IS_LOW_SURROGATE(wide[i + 1]) ? 2
                                                                                               : 1;
        Narrow(&wide[i], n, &one);
        if (ReadsBackAs(one, &wide[i], n)) {
            out->append(one);
        } else {
            out->push_back('?');
        }
        WipeString(one);
        i += n;
    }
    return false;
}
