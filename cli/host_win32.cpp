#include <windows.h>

#include "cli/host.h"
#include "crypto/wipe.h"
#include "platform/full_path.h"
#include "platform/program_paths.h"
#include "platform/win32_file_system.h"

// The C runtime expands "*.cpy" in the arguments, as no Windows shell does.
extern "C" {
int _dowildcard = -1;
}

namespace {

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
    BOOL lacking = FALSE;
    const int size = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), length, nullptr,
                                         0, nullptr, &lacking);
    std::string result(size_t(size), '\0');
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), length, &result[0], size,
                        nullptr, &lacking);
    SecureZeroMemory(&wide[0], wide.size() * sizeof(wchar_t));
    if (lacking || size <= 0) {
        WipeString(result);
        return false;
    }
    out->swap(result);
    return true;
}

std::string WorkerPath(const std::string& userPath, std::string* why) {
    const std::string path = CanonicalPath(userPath);
    if (path.empty()) *why = "not a file or folder to work on";
    return path;
}

std::string UserText(const std::string& line) { return line; }
