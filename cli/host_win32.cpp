#include <windows.h>

#include <set>

#include "cli/host.h"
#include "cli/windows_arguments.h"
#include "crypto/wipe.h"
#include "fs/path_text.h"
#include "platform/full_path.h"
#include "platform/program_paths.h"
#include "platform/win32_code_page.h"
#include "platform/win32_file_system.h"
#include "platform/win32_finder.h"

namespace {

// The arguments the system's code page cannot spell, as ProgramArguments
// gave them.
std::set<std::string> unspelled;

// A pattern is a '*' or '?' in the last part of an unquoted argument. It
// stands for the files and folders it matches, each after the folder part as
// typed, or for itself when it matches nothing, as the C runtime has it; but
// over the UTF-16 listing, whose names the ANSI one may spell by look-alikes.
std::vector<std::wstring> Expanded(const WindowsArgument<std::wstring>& argument) {
    const std::wstring& text = argument.text;
    const size_t lastSeparator = text.find_last_of(L"\\/:");
    const size_t name = lastSeparator == std::wstring::npos ? 0 : lastSeparator + 1;
    if (argument.quoted || text.find_first_of(L"*?", name) == std::wstring::npos) return {text};
    std::vector<std::wstring> matches;
    const std::unique_ptr<Win32Finder> finder = Win32Finder::Start(text);
    FindEntry entry;
    while (finder && finder->Next(&entry)) {
        if (entry.name != "." && entry.name != "..")
            matches.push_back(text.substr(0, name) + finder->WideName());
    }
    if (matches.empty()) matches.push_back(text);
    return matches;
}

// Lines go out in the ANSI code page, as the window shows them; a console
// shows bytes in its own (often the OEM one) unless told, and is told back
// when the program ends. Without a console there is nothing to tell.
struct ConsoleCodePage {
    const UINT before = GetConsoleOutputCP();
    ConsoleCodePage() {
        if (before) SetConsoleOutputCP(GetACP());
    }
    ~ConsoleCodePage() {
        if (before) SetConsoleOutputCP(before);
    }
} consoleCodePage;

}  // namespace

std::vector<std::string> ProgramArguments(int, char**) {
    std::vector<std::string> arguments;
    for (const auto& argument : SplitWindowsArguments(std::wstring(GetCommandLineW()))) {
        for (const std::wstring& text : Expanded(argument)) {
            arguments.emplace_back();
            if (!SystemFromWide(text, &arguments.back())) unspelled.insert(arguments.back());
        }
    }
    return arguments;
}

// The window and the file system spell names in the system's ANSI code page;
// no other can be chosen here.
std::string UseCodePage(unsigned codePage) {
    const unsigned system = GetACP();
    if (codePage == 0 || codePage == system) return std::string();
    return "names are spelled in the system's code page here (" + std::to_string(system) +
           "); --code-page can only name that one";
}

std::unique_ptr<FileSystem> MakeHostFileSystem() { return std::make_unique<Win32FileSystem>(); }

void DescribeHost(WorkerThread& worker) {
    const ProgramPaths paths = ReadProgramPaths();
    worker.programPath = paths.programPath;
    worker.programFolder = paths.programFolder;
    worker.systemDrive = paths.systemDrive;
    worker.systemDirectory = paths.systemDirectory;
    worker.windowsDirectory = paths.windowsDirectory;
}

// The environment and files give the ANSI code page's bytes, as the window's
// boxes do; only the prompt gives UTF-8. A character the code page lacks is
// refused, never keyed by a look-alike.
bool WorkerPassword(const std::string& password, bool typed, std::string* out) {
    if (!typed || GetACP() == CP_UTF8 || password.empty()) {
        *out = password;
        return true;
    }
    const int length = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, password.data(),
                                           int(password.size()), nullptr, 0);
    if (length <= 0) return false;
    std::wstring wide(size_t(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, password.data(), int(password.size()), &wide[0], length);
    std::string result;
    const bool exact = SystemFromWide(wide, &result);
    SecureZeroMemory(&wide[0], wide.size() * sizeof(wchar_t));
    if (!exact) {
        WipeString(result);
        return false;
    }
    out->swap(result);
    return true;
}

// A '?' the user typed is a pattern that matched nothing, and is not found;
// one that stands for a character the code page lacks, in the argument or
// the current folder, is refused.
std::string WorkerPath(const std::string& userPath, std::string* why) {
    const std::string path = CanonicalPath(userPath);
    const auto marked = [](const std::string& text) {
        return FindCharacter(text, "?", SystemCodePage()) != std::string::npos;
    };
    if (path.empty()) {
        *why = "not a file or folder to work on";
    } else if (unspelled.count(userPath) || (marked(path) && !marked(userPath))) {
        *why = "code page " + std::to_string(GetACP()) + " cannot spell its name";
        return std::string();
    }
    return path;
}

std::string UserText(const std::string& line) { return line; }
