#pragma once
// The file system path of one of the shell's special folders (CSIDL_SENDTO,
// say), asked of the shell with owner as the parent of anything it shows.

#include <windows.h>

#include <string>

bool GetSpecialFolderPath(HWND owner, int folder, std::string* path);
