#pragma once
// The program's shortcut in the user's Send To folder. A shortcut counts as
// the program's when its target is a file of the program's name, in any
// folder and any letter case: another copy of the program counts too.

#include <windows.h>

#include <string>

// The file name after the last backslash of target equals programFileName;
// a target without a backslash, or with only a leading one, never does.
bool IsProgramTarget(const std::string& target, const std::string& programFileName);

// The first shortcut ("*.lnk") in folder that targets the program.
bool FindProgramShortcut(const std::string& folder, const std::string& programFileName,
                         std::string* shortcutPath);

// The same in the Send To folder. When that folder cannot be found, no other
// folder is searched.
bool FindSendToShortcut(HWND owner, const std::string& programFileName, std::string* shortcutPath);

// Where a new shortcut goes: the Send To folder, named by title. False when
// the folder cannot be found, or title is no plain file name.
bool SendToShortcutPath(HWND owner, const std::string& title, std::string* shortcutPath);
