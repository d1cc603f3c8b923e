#include "ui/open_target.h"

// clang-format off
#include <windows.h>
#include <shellapi.h>
// clang-format on

void OpenWithShell(HWND owner, const std::string& target) {
    ::ShellExecuteA(owner, nullptr, target.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}
