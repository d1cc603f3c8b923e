#pragma once
// Splitting and scanning Windows paths held as byte strings in the system's
// ANSI code page. A '\' or '|' counts only where a character starts: in the
// double-byte code pages it may be the second byte of a character.

#include <string>

#include "fs/code_page.h"

// The index of the character after the one starting at i.
size_t NextCharacterAt(const std::string& text, size_t i, const CodePage& codePage);
// The first position at or after from (a character start) where a character from chars starts
// (chars: single-byte characters only); npos if none.
size_t FindCharacter(const std::string& text, const char* chars, const CodePage& codePage,
                     size_t from = 0);
// The position of the last '\' that is a character of its own; npos if none.
size_t LastBackslash(const std::string& path, const CodePage& codePage);
// Whether the last byte of text is a lead byte with nothing after it.
bool EndsInLeadByte(const std::string& text, const CodePage& codePage);

// The last component: everything after the last '\' (the whole path if none).
std::string FileNameOf(const std::string& path, const CodePage& codePage);
// Everything up to and including the last '\' (empty if none).
std::string FolderPrefixOf(const std::string& path, const CodePage& codePage);
// Everything before the last '\' (empty if none).
std::string FolderOf(const std::string& path, const CodePage& codePage);

// Whether path names an encrypted file: its last four bytes are exactly
// ".cpy" (letter case matters). No code page has '.' as a second byte, so the
// four bytes are always four characters of their own.
inline bool EndsInCpy(const std::string& path) {
    return path.size() >= 4 && path.compare(path.size() - 4, 4, ".cpy") == 0;
}
