#include <algorithm>
#include <filesystem>
#include <map>
#include <system_error>

#include "cli/host.h"
#include "lang/built_in_english.h"
#include "posix/posix_file_system.h"

namespace {

// The terminal speaks UTF-8; names and passwords are stored in this.
int codePage = 1252;

NameCodec Codec() { return NameCodec(codePage); }

std::string CodePageText() { return "code page " + std::to_string(codePage); }

// A name the code page cannot spell: the listing gave '?' for what it lacks.
// Each such line of the worker's names the next of the files listed so.
std::string UnspellableLine(const std::string& listedPath) {
    static std::map<std::string, size_t> named;
    const std::vector<std::string> paths = PosixFileSystem(codePage).PathsListedAs(listedPath);
    const size_t next = named[listedPath]++;
    const std::string path = next < paths.size() ? paths[next] : UserText(listedPath);
    return CodePageText() +
           " cannot spell this name; left as it is (choose another with --code-page) : " + path;
}

}  // namespace

// The shell has expanded the patterns.
std::vector<std::string> ProgramArguments(int argc, char** argv) {
    return std::vector<std::string>(argv + 1, argv + argc);
}

// Names are kept in the worker's paths with ASCII's bytes for '\\', ':' and
// '.': a code page that spells them otherwise would lose every path.
std::string UseCodePage(unsigned number) {
    if (number == 0) return std::string();
    const NameCodec codec{int(number)};
    const std::string named = "code page " + std::to_string(number);
    if (!codec.Known()) return named + " is not known here";
    if (!codec.KeepsAscii())
        return named + " does not spell ASCII as ASCII: names cannot be kept in it";
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
        *why = CodePageText() + " cannot spell its name (choose another with --code-page)";
        return std::string();
    }
    return spelled;
}

// A line the code page cannot read (a damaged stored name) is shown as it is.
std::string UserText(const std::string& line) {
    static const std::string unspellable =
        BuiltInEnglish().LookupText("message_name_not_in_code_page") + " : ";
    if (line.compare(0, unspellable.size(), unspellable) == 0)
        return UnspellableLine(line.substr(unspellable.size()));
    std::string text;
    if (!Codec().ToUtf8(line, &text)) text = line;
    std::replace(text.begin(), text.end(), '\\', '/');
    return text;
}
