#include "platform/files_matching.h"

#include <windows.h>

std::vector<std::string> FilesMatching(const std::string& folder, const std::string& pattern) {
    std::vector<std::string> paths;
    WIN32_FIND_DATAA data;
    const HANDLE find = ::FindFirstFileA((folder + "\\" + pattern).c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return paths;
    do {
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            paths.push_back(folder + "\\" + data.cFileName);
    } while (::FindNextFileA(find, &data));
    ::FindClose(find);
    return paths;
}
