#pragma once
// Shortcut files (".lnk") through the shell's link object. Paths are byte
// strings in the ANSI code page, like every path of the program.

#include <string>

// Writes a shortcut to target, with the target's first icon.
bool CreateShortcut(const std::string& shortcutPath, const std::string& target,
                    const std::string& arguments, const std::string& description);

// Reads a shortcut as stored: a target that has moved is not looked for.
bool ReadShortcut(const std::string& shortcutPath, std::string* target, std::string* arguments,
                  std::string* description);
