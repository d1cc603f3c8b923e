#include <windows.h>

#include <atomic>
#include <string>

#include "cli/terminal.h"

namespace {

std::atomic<bool> interrupted{false};

std::string Utf8Of(const std::wstring& text) {
    if (text.empty()) return std::string();
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0,
                                         nullptr, nullptr);
    std::string result(size_t(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), &result[0], size, nullptr,
                        nullptr);
    return result;
}

// Windows runs this on a thread of its own; true keeps the program alive.
BOOL WINAPI OnConsoleEvent(DWORD event) {
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT) return FALSE;
    interrupted = true;
    return TRUE;
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
            if (c != L'\r') line.push_back(c);
        }
        read = got == 1 || !line.empty();
        *answer = Utf8Of(line);
        SecureZeroMemory(&line[0], line.size() * sizeof(wchar_t));
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
