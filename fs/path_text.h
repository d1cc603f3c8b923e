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

// Whether text ends in suffix, ASCII letter case aside, as Windows compares
// names. suffix: lower-case ASCII starting with '.', which no code page has as
// a second byte, so its bytes at the end of a path are characters of their own.
bool EndsInIgnoringCase(const std::string& text, const char* suffix);

// Whether path names an encrypted file: ".cpy" in any letter case, as the
// file-type association opens "X.CPY" as one.
inline bool EndsInCpy(const std::string& path) { return EndsInIgnoringCase(path, ".cpy"); }
