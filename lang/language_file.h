#pragma once
// Language files ("*.zen") on disk: read once at start-up, then retired by
// appending ".old" to their names so the chooser no longer offers them.

#include <string>
#include <vector>

class FileSystem;

// The whole file followed by one NUL byte, ready for ParseLanguageText. False
// when the file cannot be opened or read, or is too large to hold.
bool ReadLanguageFile(FileSystem& fs, const std::string& path, std::vector<char>* text);

// The name a language file gives itself: the token after "language=" on its
// first line that starts so; empty when there is none or it holds no token.
std::string ReadLanguageName(FileSystem& fs, const std::string& path);

// Moves path to path + ".old", over an older retired copy of it. Fails,
// leaving the file where it was, when the file is missing or cannot be moved
// (a folder of the new name, a file held open); the caller reports it.
bool RetireLanguageFile(FileSystem& fs, const std::string& path);
