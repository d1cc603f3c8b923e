#include <windows.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <string>

#include "cli/terminal.h"
#include "crypto/wipe.h"

namespace {

std::atomic<bool> interrupted{false};

// Into *out, sized once: no partial copy of a password is left behind.
void Utf8Of(const std::wstring& text, std::string* out) {
    out->clear();
    if (text.empty()) return;
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0,
                                         nullptr, nullptr);
    out->resize(size_t(size));
    WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), &(*out)[0], size, nullptr,
                        nullptr);
}

void Say(const char* line) {
    const std::string text = std::string(line) + "\r\n";
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_ERROR_HANDLE), text.data(), DWORD(text.size()), &written, nullptr);
}

// Windows runs this on a thread of its own; true keeps the program alive.
// The second interrupt ends it with the status of the first, as _exit does:
// ExitProcess would first stop the other threads wherever they are and then
// run every library's detach code, which may wait for or trip over what a
// stopped thread left half done.
BOOL WINAPI OnConsoleEvent(DWORD event) {
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT) return FALSE;
    if (!interrupted.exchange(true)) {
        Say(kStoppingLine);
        return TRUE;
    }
    Say(kEndedLine);
    TerminateProcess(GetCurrentProcess(), 130);
    return TRUE;  // not reached
}

}  // namespace

// Read as UTF-16 and handed on as UTF-8: the console's own code page (often
// the OEM one) is not the one the window keys passwords in.
bool TerminalPrompt::Ask(const std::string& prompt, std::string* answer) {
    const HANDLE in = CreateFileA("CONIN$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
    const HANDLE out = CreateFileA("CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_WRITE,
                                   nullptr, OPEN_EXISTING, 0, nullptr);
    DWORD mode = 0;
    bool read = false;
    if (in != INVALID_HANDLE_VALUE && out != INVALID_HANDLE_VALUE && GetConsoleMode(in, &mode)) {
        DWORD written = 0;
        WriteFile(out, prompt.data(), DWORD(prompt.size()), &written, nullptr);
        SetConsoleMode(in, mode & ~DWORD(ENABLE_ECHO_INPUT));
        std::wstring line;
        wchar_t c = 0;
        DWORD got = 0;
        while (ReadConsoleW(in, &c, 1, &got, nullptr) && got == 1 && c != L'\n') {
            if (c != L'\r') AppendWiping(line, c);
        }
        read = got == 1 || !line.empty();
        Utf8Of(line, answer);
        WipeBytes(&line[0], line.size() * sizeof(wchar_t));
        SetConsoleMode(in, mode);
        WriteFile(out, "\r\n", 2, &written, nullptr);
    }
    if (in != INVALID_HANDLE_VALUE) CloseHandle(in);
    if (out != INVALID_HANDLE_VALUE) CloseHandle(out);
    return read;
}

void CatchInterrupts() { SetConsoleCtrlHandler(OnConsoleEvent, TRUE); }

bool Interrupted() { return interrupted; }

bool ErrorIsTerminal() {
    DWORD mode = 0;
    return GetConsoleMode(GetStdHandle(STD_ERROR_HANDLE), &mode) != 0;
}

// The C runtime keeps a copy of the environment beside the system's: the
// value is wiped in the one and removed from both.
bool TakeFromEnvironment(const char* name, std::string* value) {
    char* text = std::getenv(name);
    if (!text) return false;
    value->assign(text);
    WipeBytes(text, std::strlen(text));
    _putenv((std::string(name) + "=").c_str());
    SetEnvironmentVariableA(name, nullptr);
    return true;
}
