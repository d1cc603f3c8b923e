#pragma once
// The ".cpy" file type: opening such a file in the shell starts the program
// with the file on its command line. The extension and the type's name come
// from the text table ("tarnu_ext", "tarnu_name"), its description from
// "link_comment".
//
// A program without administrator rights cannot write the machine-wide
// classes, so the keys go below HKEY_CURRENT_USER\Software\Classes, which
// HKEY_CLASSES_ROOT shows merged with them; the query reads the user's keys
// and then HKEY_CLASSES_ROOT, where a machine-wide registration counts too.

#include <string>

// The command stored: the program in double quotes and the opened file.
std::string FileTypeCommand(const std::string& programPath);

bool RegisterFileType(const std::string& programPath);
bool UnregisterFileType();
// The command when the extension and the type's open command exist, the
// command being a string of at most 259 bytes.
bool IsFileTypeRegistered(std::string* command);
