#pragma once
// The last part of a Find pattern: '*' stands for any run of bytes, '?' for
// any one byte, everything else for itself. Names compare byte for byte, as
// POSIX names do (Windows would ignore case).

#include <string>

bool NameMatches(const std::string& name, const std::string& pattern);
