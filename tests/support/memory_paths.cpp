#include "tests/support/memory_paths.h"

#include <stdexcept>

namespace mempath {

namespace {
char Upper(char c) { return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c; }
}  // namespace

std::string Trimmed(const std::string& path) {
    size_t end = path.size();
    while (end > 0 && path[end - 1] == '\\') --end;
    return path.substr(0, end);
}

std::string Key(const std::string& path) {
    std::string key = Trimmed(path);
    for (char& c : key) c = Upper(c);
    return key;
}

bool IsDriveRoot(const std::string& key) {
    return key.size() == 2 && key[1] == ':' && key[0] >= 'A' && key[0] <= 'Z';
}

std::string Parent(const std::string& path) {
    const size_t slash = path.rfind('\\');
    return slash == std::string::npos ? "" : path.substr(0, slash);
}

std::string Name(const std::string& path) { return path.substr(path.rfind('\\') + 1); }

bool Matches(const std::string& name, const std::string& pattern) {
    const size_t wild = pattern.find_first_of("*?");
    if (wild != std::string::npos && (wild + 1 != pattern.size() || pattern[wild] != '*')) {
        throw std::invalid_argument("MemoryFileSystem lists only with a trailing '*': " + pattern);
    }
    if (wild == std::string::npos) return Key(name) == Key(pattern);
    return Key(name.substr(0, wild)) == Key(pattern.substr(0, wild)) && name.size() >= wild;
}

}  // namespace mempath
