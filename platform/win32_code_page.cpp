#include "platform/win32_code_page.h"

#include <windows.h>

namespace {

std::wstring Wide(const std::string& text) {
    const int length = ::MultiByteToWideChar(CP_ACP, 0, text.data(), int(text.size()), nullptr, 0);
    std::wstring wide(size_t(length), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, text.data(), int(text.size()), &wide[0], length);
    return wide;
}

}  // namespace

bool Win32CodePage::IsLeadByte(uint8_t byte) const { return ::IsDBCSLeadByteEx(CP_ACP, byte); }

bool Win32CodePage::SameIgnoringCase(const std::string& a, const std::string& b) const {
    if (a.empty() || b.empty()) return a.empty() && b.empty();
    const std::wstring wa = Wide(a), wb = Wide(b);
    return ::CompareStringOrdinal(wa.c_str(), int(wa.size()), wb.c_str(), int(wb.size()), TRUE) ==
           CSTR_EQUAL;
}

const Win32CodePage& SystemCodePage() {
    static const Win32CodePage codePage;
    return codePage;
}
