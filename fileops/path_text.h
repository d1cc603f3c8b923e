#pragma once
// Splitting Windows paths held as byte strings, at the last '\'.

#include <string>

// The last component: everything after the last '\' (the whole path if none).
inline std::string FileNameOf(const std::string& path) {
    const size_t slash = path.rfind('\\');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Everything up to and including the last '\' (empty if none).
inline std::string FolderPrefixOf(const std::string& path) {
    const size_t slash = path.rfind('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// Whether path names an encrypted file: its last four bytes are exactly
// ".cpy" (letter case matters).
inline bool EndsInCpy(const std::string& path) {
    return path.size() >= 4 && path.compare(path.size() - 4, 4, ".cpy") == 0;
}
