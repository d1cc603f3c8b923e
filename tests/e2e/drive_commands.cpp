#include "tests/e2e/drive_commands.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <memory>
#include <thread>

#include "res/resource.h"
#include "tests/e2e/log_rows.h"
#include "tests/e2e/target_windows.h"

namespace {

const DWORD kPollMilliseconds = 50;
// A handler that takes longer than this to deal with a click is hung.
const DWORD kHandlerMilliseconds = 30000;

std::string Id(int id) { return std::to_string(id); }

bool TimeLeft(ULONGLONG end) { return GetTickCount64() < end; }

ULONGLONG Deadline(int seconds) { return GetTickCount64() + ULONGLONG(seconds) * 1000; }

std::string QuestionText(HWND box) {
    // A message box's text is the static control 0xFFFF.
    const HWND text = GetDlgItem(box, 0xFFFF);
    return ReadText(text ? text : box);
}

LRESULT SendOrFail(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(window, message, wParam, lParam, SMTO_ABORTIFHUNG,
                             kHandlerMilliseconds, &result)) {
        throw DriveError("the window does not answer message " + std::to_string(message));
    }
    return LRESULT(result);
}

// Times the window's answer to an empty message every 20 ms, from a thread of
// its own so that a slow answer does not delay seeing the job end, and keeps
// the slowest and when it was asked, from the watch's start. Each ask is a
// round trip through the window's thread, about 0.3 ms of work under Wine:
// fifty a second take under 2% of a core from the job.
class AnswerWatch {
  public:
    explicit AnswerWatch(HWND window) : thread([this, window] { Watch(window); }) {}
    ~AnswerWatch() { Stop(); }
    void Stop() {
        stopped = true;
        if (thread.joinable()) thread.join();
    }
    // Read after Stop.
    double slowestMilliseconds = 0, slowestAskedSeconds = 0;
    int answers = 0;

  private:
    void Watch(HWND window) {
        LARGE_INTEGER frequency, start, before, after;
        QueryPerformanceFrequency(&frequency);
        QueryPerformanceCounter(&start);
        while (!stopped) {
            DWORD_PTR ignored = 0;
            QueryPerformanceCounter(&before);
            // A window that does not answer within 5 s shows as 5000 ms.
            SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &ignored);
            QueryPerformanceCounter(&after);
            const double milliseconds =
                1000.0 * double(after.QuadPart - before.QuadPart) / double(frequency.QuadPart);
            if (milliseconds > slowestMilliseconds) {
                slowestMilliseconds = milliseconds;
                slowestAskedSeconds =
                    double(before.QuadPart - start.QuadPart) / double(frequency.QuadPart);
            }
            ++answers;
            Sleep(20);
        }
    }

    std::atomic<bool> stopped{false};
    std::thread thread;  // last: it starts once the rest is set
};

}  // namespace

HWND Driver::MainWindow() const {
    const HWND window = FindMainWindow(programPath);
    if (!window) {
        throw DriveError("no Tarnu window is open" +
                         (programPath.empty() ? std::string() : " for " + programPath));
    }
    return window;
}

HWND Driver::Control(HWND mainWindow, int id, const char* className) const {
    const HWND control = GetDlgItem(mainWindow, id);
    if (!control) throw DriveError("the window has no control " + Id(id));
    char name[64] = {};
    GetClassNameA(control, name, sizeof name);
    if (lstrcmpiA(name, className) != 0) {
        throw DriveError("control " + Id(id) + " is a " + name + ", not a " + className);
    }
    // A user can reach neither a hidden nor a disabled control.
    if (!IsWindowVisible(control)) throw DriveError("control " + Id(id) + " is hidden");
    if (!IsWindowEnabled(control)) throw DriveError("control " + Id(id) + " is disabled");
    return control;
}

void Driver::Find(int seconds) {
    const ULONGLONG end = Deadline(seconds);
    for (;;) {
        const HWND window = FindMainWindow(programPath);
        if (window && Responds(window, 1000)) {
            std::printf("found \"%s\" after %.1f s\n", ReadText(window).c_str(), ElapsedSeconds());
            return;
        }
        if (!TimeLeft(end)) {
            throw DriveError("no Tarnu window appeared within " + std::to_string(seconds) + " s");
        }
        Sleep(kPollMilliseconds);
    }
}

void Driver::Type(int id, const std::string& text) {
    const HWND edit = Control(MainWindow(), id, "Edit");
    SendOrFail(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void Driver::Click(int id) {
    const HWND window = MainWindow();
    const HWND button = Control(window, id, "Button");
    SendCommand(window, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
}

void Driver::Command(int id) { SendCommand(MainWindow(), MAKEWPARAM(id, 0), 0); }

// Sent from a thread of its own: a handler that asks a question returns only
// once the question is answered, which is the caller's next step, so that
// thread is left waiting. Otherwise it is joined: the driver never ends with
// it still running.
void Driver::SendCommand(HWND window, WPARAM wParam, LPARAM lParam) const {
    auto handled = std::make_shared<std::atomic<bool>>(false);
    std::thread sender([window, wParam, lParam, handled] {
        DWORD_PTR ignored = 0;
        SendMessageTimeoutA(window, WM_COMMAND, wParam, lParam, SMTO_NORMAL, kHandlerMilliseconds,
                            &ignored);
        *handled = true;
    });
    const ULONGLONG end = GetTickCount64() + kHandlerMilliseconds;
    while (!*handled) {
        if (const HWND box = FindQuestionBox(window)) {
            sender.detach();
            std::printf("question: %s\n", QuestionText(box).c_str());
            return;
        }
        if (!TimeLeft(end)) {
            sender.detach();
            throw DriveError("the window did not deal with the command");
        }
        Sleep(1);  // finely: a job is timed from the click
    }
    sender.join();
}

void Driver::Question() {
    const HWND box = FindQuestionBox(MainWindow());
    if (!box) throw DriveError("no question is open");
    std::printf("%s\n", QuestionText(box).c_str());
}

void Driver::Answer(const std::string& choice, int seconds) {
    const int id = choice == "yes"      ? IDYES
                   : choice == "no"     ? IDNO
                   : choice == "cancel" ? IDCANCEL
                                        : 0;
    if (!id) throw DriveError("the answer must be yes, no or cancel, not " + choice);
    const HWND window = MainWindow();
    const ULONGLONG end = Deadline(seconds);
    HWND box = nullptr;
    while (!(box = FindQuestionBox(window))) {
        if (!TimeLeft(end)) throw DriveError("no question was asked");
        Sleep(kPollMilliseconds);
    }
    const HWND button = GetDlgItem(box, id);
    if (!button) throw DriveError("the question has no \"" + choice + "\" button");
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
    while (IsWindow(box) && IsWindowVisible(box)) {
        if (!TimeLeft(end)) throw DriveError("the question stayed open");
        Sleep(kPollMilliseconds);
    }
    // The code that asked goes on once the box is gone; this waits for it.
    if (!Responds(window, kHandlerMilliseconds)) throw DriveError("the window hangs");
}

Driver::JobState Driver::ReadJobState() const {
    const HWND window = MainWindow();
    if (const HWND box = FindQuestionBox(window)) {
        throw DriveError("a question is open: " + QuestionText(box));
    }
    JobState state;
    state.title = ReadText(window);
    state.progressShown = state.title.find(" byte") != std::string::npos;
    // Only the Stop button stays enabled while a job runs.
    state.running = !IsWindowEnabled(GetDlgItem(window, IDC_CIPHER_BUTTON)) ||
                    !IsWindowEnabled(GetDlgItem(window, IDC_DECIPHER_BUTTON));
    return state;
}

void Driver::WaitIdle(int seconds) {
    const ULONGLONG end = Deadline(seconds);
    for (;;) {
        const JobState state = ReadJobState();
        if (!state.running && !state.progressShown) {
            std::printf("idle after %.1f s\n", ElapsedSeconds());
            return;
        }
        if (!TimeLeft(end)) {
            throw DriveError("the job still runs after " + std::to_string(seconds) +
                             " s; title: " + state.title);
        }
        Sleep(kPollMilliseconds);
    }
}

void Driver::TimeJob(int id, int seconds) {
    const HWND window = MainWindow();
    const HWND cipher = GetDlgItem(window, IDC_CIPHER_BUTTON);
    const HWND decipher = GetDlgItem(window, IDC_DECIPHER_BUTTON);
    LARGE_INTEGER frequency, start, now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    const ULONGLONG end = Deadline(seconds);
    // From before the click: a window that is slow to start the job is slow
    // to the user too.
    AnswerWatch watch(window);
    Click(id);
    // Only the buttons are looked at, every millisecond: a fuller look (the
    // title, a question box) sends the window messages, and a thousand a
    // second kept a core from the job being timed.
    for (int polls = 1; !IsWindowEnabled(cipher) || !IsWindowEnabled(decipher); ++polls) {
        if (polls % 100 == 0) ReadJobState();  // a question would hold the job
        if (!TimeLeft(end)) throw DriveError("the job still runs after " + Id(seconds) + " s");
        Sleep(1);
    }
    QueryPerformanceCounter(&now);
    watch.Stop();
    std::printf("job: %.3f s\n",
                double(now.QuadPart - start.QuadPart) / double(frequency.QuadPart));
    std::printf("slowest answer: %.1f ms of %d, asked at %.3f s\n", watch.slowestMilliseconds,
                watch.answers, watch.slowestAskedSeconds);
}

void Driver::WaitProgress(int seconds) {
    const ULONGLONG end = Deadline(seconds);
    for (;;) {
        const JobState state = ReadJobState();
        if (state.progressShown) {
            std::printf("%s\n", state.title.c_str());
            return;
        }
        if (!state.running) throw DriveError("no job runs");
        if (!TimeLeft(end)) throw DriveError("no progress after " + std::to_string(seconds) + " s");
        Sleep(kPollMilliseconds / 5);
    }
}

void Driver::PrintText(int id) {
    const HWND window = MainWindow();
    const HWND control = id == 0 ? window : GetDlgItem(window, id);
    if (!control) throw DriveError("the window has no control " + Id(id));
    std::printf("%s\n", ReadText(control).c_str());
}

void Driver::PrintRows() {
    const HWND list = GetDlgItem(MainWindow(), IDC_LOG_LIST);
    std::printf("%d\n", int(SendOrFail(list, LB_GETCOUNT, 0, 0)));
}

void Driver::PrintErrorRows() {
    const HWND list = GetDlgItem(MainWindow(), IDC_LOG_LIST);
    if (!IsWindowVisible(list)) throw DriveError("the log is not shown");
    std::printf("%d\n", CountErrorRows(list));
}

namespace {

// Pop-up menus are windows of this system class.
HWND OpenMenuWindow() {
    const HWND menu = FindWindowA("#32768", nullptr);
    return menu && IsWindowVisible(menu) ? menu : nullptr;
}

}  // namespace

void Driver::OpenMenu() {
    const HWND window = MainWindow();
    RECT rect;
    GetWindowRect(window, &rect);
    PostMessageA(window, WM_CONTEXTMENU, WPARAM(window), MAKELPARAM(rect.left + 60, rect.top + 60));
    const ULONGLONG end = Deadline(10);
    HWND menu;
    while (!(menu = OpenMenuWindow())) {
        if (!TimeLeft(end)) throw DriveError("no menu opened on a right click");
        Sleep(kPollMilliseconds);
    }
    std::printf("menu open after %.1f s\n", ElapsedSeconds());
}

void Driver::ChooseLanguage(const std::string& name, int seconds) {
    const ULONGLONG end = Deadline(seconds);
    HWND chooser;
    while (!(chooser = FindWindowA(nullptr, "Tarnu DudOva")) || !IsWindowVisible(chooser)) {
        if (!TimeLeft(end)) throw DriveError("no language chooser appeared");
        Sleep(kPollMilliseconds);
    }
    const HWND list = GetDlgItem(chooser, IDC_LANGUAGE_LIST);
    const LRESULT row = SendOrFail(list, LB_FINDSTRINGEXACT, WPARAM(-1), LPARAM(name.c_str()));
    if (row == LB_ERR || SendOrFail(list, LB_SETCURSEL, WPARAM(row), 0) == LB_ERR)
        throw DriveError("the chooser offers no " + name);
    PostMessageA(chooser, WM_COMMAND, IDOK, 0);
}

void Driver::CloseMenu() {
    const HWND menu = OpenMenuWindow();
    if (!menu) throw DriveError("no menu is open");
    PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
    const ULONGLONG end = Deadline(10);
    while (OpenMenuWindow()) {
        if (!TimeLeft(end)) throw DriveError("the menu stayed open");
        Sleep(kPollMilliseconds);
    }
}

void Driver::Close(int seconds) {
    const HWND window = MainWindow();
    if (const HWND box = FindQuestionBox(window)) {
        throw DriveError("a question is open: " + QuestionText(box));
    }
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    const HANDLE process =
        OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
    if (!process) throw DriveError("the program's process cannot be opened");
    PostMessageA(window, WM_CLOSE, 0, 0);
    const DWORD waited = WaitForSingleObject(process, DWORD(seconds) * 1000);
    DWORD exitCode = 0;
    GetExitCodeProcess(process, &exitCode);
    CloseHandle(process);
    if (waited != WAIT_OBJECT_0) {
        throw DriveError("the program still runs " + std::to_string(seconds) + " s after closing");
    }
    std::printf("ended with exit code %lu after %.1f s\n", exitCode, ElapsedSeconds());
}

void PrintFileInfo(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(WindowsPath(path).c_str(), GetFileExInfoStandard, &data)) {
        throw DriveError("no file " + path);
    }
    const ULONGLONG written =
        (ULONGLONG(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime;
    std::printf("%s attributes=0x%08lx written=%llu\n", path.c_str(), data.dwFileAttributes,
                written);
}
