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
