#include "platform/files_matching.h"

#include "platform/win32_finder.h"

std::vector<std::string> FilesMatching(const std::string& folder, const std::string& pattern) {
    std::vector<std::string> paths;
    const std::unique_ptr<Finder> finder = Win32Finder::Start(folder + "\\" + pattern);
    FindEntry entry;
    while (finder && finder->Next(&entry)) {
        if (!(entry.attributes & FILE_ATTRIBUTE_DIRECTORY))
            paths.push_back(folder + "\\" + entry.name);
    }
    return paths;
}
