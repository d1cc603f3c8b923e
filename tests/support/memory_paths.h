#pragma once
// Path arithmetic for MemoryFileSystem. A key is a path in ASCII upper case
// without a trailing '\', so that keys compare as Windows compares names.

#include <string>

namespace mempath {

// The path without trailing '\' ("C:\" becomes "C:").
std::string Trimmed(const std::string& path);
std::string Key(const std::string& path);
// "X:", the root of a drive, which always exists.
bool IsDriveRoot(const std::string& key);
// The containing folder's path or key; "" when there is none.
std::string Parent(const std::string& path);
// The last component.
std::string Name(const std::string& path);
// Whether name matches a listing pattern: an exact name, or a prefix and '*'.
bool Matches(const std::string& name, const std::string& pattern);

}  // namespace mempath
