#include "tests/e2e/target_windows.h"

#include <algorithm>

#include "res/resource.h"

namespace {

const DWORD kMessageTimeout = 5000;
const ULONGLONG kStartTicks = GetTickCount64();

std::string ClassOf(HWND window) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

bool IsDialog(HWND window) { return ClassOf(window) == "#32770" && IsWindowVisible(window); }

std::string ImagePathOf(HWND window) {
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    const HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
    if (!process) return std::string();
    char path[MAX_PATH] = {};
    DWORD length = MAX_PATH;
    const bool known = QueryFullProcessImageNameA(process, 0, path, &length);
    CloseHandle(process);
    return known ? std::string(path, length) : std::string();
}

bool IsMainWindow(HWND window, const std::string& wantedPath) {
    if (!IsDialog(window) || !GetDlgItem(window, IDC_CIPHER_BUTTON) ||
        !GetDlgItem(window, IDC_DECIPHER_BUTTON) || !GetDlgItem(window, IDC_LOG_LIST)) {
        return false;
    }
    // As the system compares names, character by character in its code page.
    return wantedPath.empty() || lstrcmpiA(ImagePathOf(window).c_str(), wantedPath.c_str()) == 0;
}

struct Search {
    std::string wantedPath;  // lower case, empty for any
    HWND mainWindow = nullptr;
    HWND found = nullptr;
};

BOOL CALLBACK TakeMainWindow(HWND window, LPARAM data) {
    Search& search = *reinterpret_cast<Search*>(data);
    if (!IsMainWindow(window, search.wantedPath)) return TRUE;
    search.found = window;
    return FALSE;
}

BOOL CALLBACK TakeQuestionBox(HWND window, LPARAM data) {
    Search& search = *reinterpret_cast<Search*>(data);
    if (window == search.mainWindow || !IsDialog(window)) return TRUE;
    DWORD boxProcess = 0, mainProcess = 0;
    GetWindowThreadProcessId(window, &boxProcess);
    GetWindowThreadProcessId(search.mainWindow, &mainProcess);
    if (boxProcess != mainProcess) return TRUE;
    search.found = window;
    return FALSE;
}

}  // namespace

HWND FindMainWindow(const std::string& programPath) {
    Search search;
    search.wantedPath = programPath.empty() ? std::string() : WindowsPath(programPath);
    EnumWindows(TakeMainWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND FindQuestionBox(HWND mainWindow) {
    Search search;
    search.mainWindow = mainWindow;
    EnumWindows(TakeQuestionBox, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::string ReadText(HWND window) {
    char text[1024] = {};
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                             SMTO_ABORTIFHUNG, kMessageTimeout, &copied)) {
        throw DriveError("the window does not answer WM_GETTEXT");
    }
    return std::string(text, std::min<size_t>(copied, sizeof text - 1));
}

std::string WindowsPath(std::string path) {
    if (!path.empty() && path[0] == '/') path = "Z:" + path;
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

bool Responds(HWND window, DWORD milliseconds) {
    DWORD_PTR ignored = 0;
    return SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, milliseconds, &ignored) !=
           0;
}

double ElapsedSeconds() { return double(GetTickCount64() - kStartTicks) / 1000.0; }
