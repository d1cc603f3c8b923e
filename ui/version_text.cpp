#include "ui/version_text.h"

#include <windows.h>

#include <vector>

std::string FormatVersionText(uint32_t high, uint32_t low) {
    return std::to_string(HIWORD(high)) + "." + std::to_string(LOWORD(high) & 0xFF) +
           std::to_string(HIWORD(low));
}

std::string ReadVersionText(const std::string& programPath) {
    DWORD handle = 0;
    const DWORD size = ::GetFileVersionInfoSizeA(programPath.c_str(), &handle);
    if (size == 0) return std::string();
    std::vector<char> data(size);
    if (!::GetFileVersionInfoA(programPath.c_str(), 0, size, data.data())) return std::string();
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (!::VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&fixed), &length) || !fixed) {
        return std::string();
    }
    return FormatVersionText(fixed->dwProductVersionMS, fixed->dwProductVersionLS);
}
