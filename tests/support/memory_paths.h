#pragma once
// Path arithmetic for MemoryFileSystem. A key is a path in upper case without
// a trailing '\', so that keys compare as Windows compares names. Every split
// asks the code page where characters start.

#include <string>

#include "fs/code_page.h"

namespace mempath {

// The path without trailing '\' ("C:\" becomes "C:").
std::string Trimmed(const std::string& path, const CodePage& codePage);
std::string Key(const std::string& path, const TableCodePage& codePage);
// "X:", the root of a drive, which always exists.
bool IsDriveRoot(const std::string& key);
// The containing folder's path or key; "" when there is none.
std::string Parent(const std::string& path, const CodePage& codePage);
// The last component.
std::string Name(const std::string& path, const CodePage& codePage);
// Whether name matches a listing pattern: an exact name, or a prefix and '*'.
bool Matches(const std::string& name, const std::string& pattern, const TableCodePage& codePage);

}  // namespace mempath
