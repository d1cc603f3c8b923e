#include <algorithm>
#include <filesystem>
#include <system_error>

#include "cli/host.h"
#include "posix/posix_file_system.h"

namespace {

// The terminal speaks UTF-8; names and passwords are stored in this.
int codePage = 1252;

NameCodec Codec() { return NameCodec(codePage); }

}  // namespace

// The shell has expanded the patterns.
std::vector<std::string> ProgramArguments(int argc, char** argv) {
    return std::vector<std::string>(argv + 1, argv + argc);
}

std::string UseCodePage(unsigned number) {
    if (number == 0) return std::string();
    if (!NameCodec(int(number)).Known())
        return "code page " + std::to_string(number) + " is not known here";
    codePage = int(number);
    return std::string();
}

std::unique_ptr<FileSystem> MakeHostFileSystem() {
    return std::make_unique<PosixFileSystem>(codePage);
}

// No Windows folders here; the program file is not among the user's files.
void DescribeHost(WorkerThread&) {}

// Typed, read from a file or from the environment, a password is UTF-8 here.
bool WorkerPassword(const std::string& password, bool, std::string* out) {
    return Codec().FromUtf8(password, out);
}

// "/home/u/a.txt" is "\home\u\a.txt" to the worker; the root would be the
// empty path, which names nothing.
std::string WorkerPath(const std::string& userPath, std::string* why) {
    std::error_code error;
    std::filesystem::path path = std::filesystem::absolute(userPath, error).lexically_normal();
    std::string text = path.string();
    while (text.size() > 1 && text.back() == '/') text.pop_back();
    std::string spelled;
    if (error || text == "/") {
        *why = "not a file or folder to work on";
        return std::string();
    }
    // UTF-8 here, where no byte of another character is a '\\'.
    const bool hasBackslash = text.find('\\') != std::string::npos;
    std::replace(text.begin(), text.end(), '/', '\\');
    if (hasBackslash || !Codec().FromUtf8(text, &spelled)) {
        *why = "code page " + std::to_string(codePage) + " cannot spell its name";
        return std::string();
    }
    return spelled;
}

// A line the code page cannot read (a damaged stored name) is shown as it is.
std::string UserText(const std::string& line) {
    std::string text;
    if (!Codec().ToUtf8(line, &text)) text = line;
    std::replace(text.begin(), text.end(), '\\', '/');
    return text;
}
