#pragma once
// Opening a web address, a "mailto:" address or a folder with the user's
// default program. Windows that open targets hold the opener in a member, so
// a test can see the address without a browser starting.

#include <windows.h>

#include <string>

using TargetOpener = void (*)(HWND owner, const std::string& target);

// The shell's default verb in a normal window; a target that cannot be
// opened is not worth a message.
void OpenWithShell(HWND owner, const std::string& target);
