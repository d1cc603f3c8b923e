#pragma once
// The files (not folders) in a folder whose names match a pattern such as
// "*.zen", as full paths, in the order the file system lists them.

#include <string>
#include <vector>

std::vector<std::string> FilesMatching(const std::string& folder, const std::string& pattern);
