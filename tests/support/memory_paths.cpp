#include "tests/support/memory_paths.h"

#include <stdexcept>

#include "fs/path_text.h"

namespace mempath {

std::string Trimmed(const std::string& path, const CodePage& codePage) {
    std::string trimmed = path;
    while (!trimmed.empty() && LastBackslash(trimmed, codePage) == trimmed.size() - 1) {
        trimmed.pop_back();
    }
    return trimmed;
}

std::string Key(const std::string& path, const TableCodePage& codePage) {
    return codePage.UpperCase(Trimmed(path, codePage));
}

bool IsDriveRoot(const std::string& key) {
    return key.size() == 2 && key[1] == ':' && key[0] >= 'A' && key[0] <= 'Z';
}

std::string Parent(const std::string& path, const CodePage& codePage) {
    return FolderOf(path, codePage);
}

std::string Name(const std::string& path, const CodePage& codePage) {
    return FileNameOf(path, codePage);
}

bool Matches(const std::string& name, const std::string& pattern, const TableCodePage& codePage) {
    const size_t wild = pattern.find_first_of("*?");
    if (wild != std::string::npos && (wild + 1 != pattern.size() || pattern[wild] != '*')) {
        throw std::invalid_argument("MemoryFileSystem lists only with a trailing '*': " + pattern);
    }
    if (wild == std::string::npos) return Key(name, codePage) == Key(pattern, codePage);
    return name.size() >= wild &&
           Key(name.substr(0, wild), codePage) == Key(pattern.substr(0, wild), codePage);
}

}  // namespace mempath
