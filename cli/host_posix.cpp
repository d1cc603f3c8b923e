#include <algorithm>
#include <filesystem>
#include <system_error>

#include "cli/host.h"
#include "posix/posix_file_system.h"

std::unique_ptr<FileSystem> MakeHostFileSystem() { return std::make_unique<PosixFileSystem>(); }

// No Windows folders here; the program file is not among the user's files.
void DescribeHost(WorkerThread&) {}

// "/home/u/a.txt" is "\home\u\a.txt" to the worker; the root would be the
// empty path, which names nothing.
std::string WorkerPath(const std::string& userPath) {
    std::error_code error;
    std::filesystem::path path = std::filesystem::absolute(userPath, error).lexically_normal();
    if (error) return std::string();
    std::string text = path.string();
    while (text.size() > 1 && text.back() == '/') text.pop_back();
    if (text == "/") return std::string();
    std::replace(text.begin(), text.end(), '/', '\\');
    return text;
}

std::string UserText(const std::string& line) {
    std::string text = line;
    std::replace(text.begin(), text.end(), '\\', '/');
    return text;
}
