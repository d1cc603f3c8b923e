// The main window in process: its heights, the log's numbering, the progress
// display, the end of a job with and without automatic exit, and a close in
// the middle of a job.
#include "ui/main_dlg.h"

#include <gtest/gtest.h>
#include <oleacc.h>
#include <shlobj.h>

#include <algorithm>

#include "crypto/password_check.h"
#include "platform/font_description.h"
#include "platform/program_paths.h"
#include "res/resource.h"
#include "tests/wine/contrast_scheme.h"
#include "tests/wine/main_dlg_probe.h"
#include "tests/wine/registry_sandbox.h"
#include "tests/wine/temp_folder.h"
#include "tests/wine/window_harness.h"
#include "ui/app_messages.h"

namespace {

std::string TextOf(HWND hwnd) {
    char text[512] = {};
    GetWindowTextA(hwnd, text, sizeof text);
    return text;
}

int TopOf(HWND dialog, int id) {
    RECT r;
    GetWindowRect(GetDlgItem(dialog, id), &r);
    POINT p = {r.left, r.top};
    ScreenToClient(dialog, &p);
    return p.y;
}

int HeightOf(HWND hwnd) {
    RECT r;
    GetWindowRect(hwnd, &r);
    return r.bottom - r.top;
}

// Pumps until done() holds or the time is up.
bool PumpUntil(const std::function<bool()>& done, DWORD milliseconds) {
    const ULONGLONG end = GetTickCount64() + milliseconds;
    while (!done() && GetTickCount64() < end) PumpMessages(10);
    return done();
}

// A drop from the shell: a DROPFILES block with the paths, each ended by a
// zero byte, and one more zero byte at the end.
// The paths in the code page, or (wide strings) in UTF-16, as Explorer drops them.
template <class Text>
HGLOBAL MakeDrop(const std::vector<Text>& paths) {
    Text list;
    for (const auto& path : paths) list += path + typename Text::value_type();
    list += typename Text::value_type();
    const size_t bytes = list.size() * sizeof list[0];
    const HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + bytes);
    auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = sizeof list[0] == sizeof(wchar_t);
    memcpy(reinterpret_cast<char*>(drop) + sizeof(DROPFILES), list.data(), bytes);
    GlobalUnlock(memory);
    return memory;
}

void Drop(HWND hwnd, const std::vector<std::string>& paths) {
    SendMessageA(hwnd, WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop(paths)), 0);
}

void Drop(HWND hwnd, const std::vector<std::wstring>& paths) {
    SendMessageA(hwnd, WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop(paths)), 0);
}

std::vector<std::string> LogTexts(CLogListBox& log) {
    std::vector<std::string> texts;
    for (int row = int(log.SendMessage(LB_GETCOUNT)) - 1; row >= 0; --row) {
        texts.push_back(log.EntryAtRow(row) ? log.EntryAtRow(row)->text : "(notice)");
    }
    return texts;
}

std::string FirstErrorIn(CLogListBox& log) {
    for (int row = int(log.SendMessage(LB_GETCOUNT)) - 1; row >= 0; --row) {
        const LogEntry* entry = log.EntryAtRow(row);
        if (entry && entry->kind == kReportError) return entry->text;
    }
    return "(no error)";
}

// The taskbar's calls as the window makes them, a state repeated counted
// once; the clipboard is the system's.
class RecordingSignals : public SystemDesktopSignals {
  public:
    void SetTaskbarState(HWND, TaskbarState state) override {
        if (states.empty() || states.back() != state) states.push_back(state);
    }
    void SetTaskbarValue(HWND, uint64_t done, uint64_t total) override {
        valueShown = total > 0 && done <= total;
    }
    void FlashTaskbarButton(HWND) override { ++flashes; }

    std::vector<TaskbarState> states;
    bool valueShown = false;
    int flashes = 0;
};

std::string ClipboardText() {
    std::string text;
    if (!OpenClipboard(nullptr)) return text;
    if (const HANDLE data = GetClipboardData(CF_TEXT)) text = static_cast<char*>(GlobalLock(data));
    CloseClipboard();
    return text;
}

class MainDlgTest : public ::testing::Test {
  protected:
    RegistrySandbox registry{kSettingsKeyPath};  // every start from the defaults
    CMainDlg dialog;
};

int FontHeightOf(HWND hwnd) {
    return DescribeFont(reinterpret_cast<HFONT>(SendMessageA(hwnd, WM_GETFONT, 0, 0))).lfHeight;
}

// Tab walks only what the window's height shows, and the log and OK are
// stops just when the height shows them.
void ExpectTabStopsInSight(HWND hwnd, WindowHeight kind) {
    SCOPED_TRACE(kind);
    RECT client;
    GetClientRect(hwnd, &client);
    std::vector<HWND> stops;
    const HWND first = GetNextDlgTabItem(hwnd, nullptr, FALSE);
    for (HWND stop = first; stop && stops.size() < 20;) {
        stops.push_back(stop);
        EXPECT_TRUE(IsWindowVisible(stop)) << GetDlgCtrlID(stop);
        EXPECT_LT(TopOf(hwnd, GetDlgCtrlID(stop)), client.bottom) << GetDlgCtrlID(stop);
        stop = GetNextDlgTabItem(hwnd, stop, FALSE);
        if (stop == first) break;
    }
    const auto has = [&](int id) {
        return std::count(stops.begin(), stops.end(), GetDlgItem(hwnd, id)) == 1;
    };
    EXPECT_TRUE(has(IDC_CIPHER_BUTTON));
    EXPECT_EQ(has(IDC_LOG_LIST), kind != kHeightCompact);
    EXPECT_EQ(has(IDC_OK_BUTTON), kind == kHeightFull);
}

// The height of the log's top row and of its text wrapped into the row's
// text rectangle, and of one line, in the log's font.
struct RowMeasures {
    int row, text, line;
};
RowMeasures MeasureTopRow(CLogListBox& log) {
    const HDC dc = GetDC(log.GetSafeHwnd());
    const HGDIOBJ old = SelectObject(dc, log.GetFont());
    const std::string text = log.GetText(0);
    RECT wrapped = {0, 0, log.GetClientRect().right - 2, 0}, line = {0, 0, 1000, 0};
    DrawTextA(dc, text.c_str(), -1, &wrapped, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    DrawTextA(dc, "A", -1, &line, DT_CALCRECT | DT_NOPREFIX);
    SelectObject(dc, old);
    ReleaseDC(log.GetSafeHwnd(), dc);
    return {int(log.SendMessage(LB_GETITEMHEIGHT, 0)), int(wrapped.bottom), int(line.bottom)};
}

// The three heights, the controls' places and the fonts follow the window's
// DPI, as it moves to a monitor at 150 % and back; the window takes the place
// Windows suggests; a wrapped log row is measured again in the new font and
// width, and the tab stops stay those in sight.
TEST_F(MainDlgTest, HeightsFollowTheMarkersAtEveryDpi) {
    RunModalWith(dialog, [&](HWND hwnd) {
        RECT window, client;
        GetWindowRect(hwnd, &window);
        GetClientRect(hwnd, &client);
        const int frame = (window.bottom - window.top) - client.bottom;
        // Under Xvfb the X server may answer the first showing with the
        // template's size; let that settle before measuring.
        PumpMessages(300);
        RECT full = {0, 0, 166, 189};
        MapDialogRect(hwnd, &full);
        const int markers[] = {IDC_MARK_COMPACT, IDC_MARK_LOG, IDC_MARK_FULL};
        int tops[3];
        for (int i = 0; i < 3; ++i) tops[i] = TopOf(hwnd, markers[i]);
        const HWND button = GetDlgItem(hwnd, IDC_CIPHER_BUTTON);
        const HWND edit = GetDlgItem(hwnd, IDC_PASSWORD_EDIT);
        CLogListBox& log = MainDlgProbe::Log(dialog);
        const HWND panel = MainDlgProbe::Panel(dialog).GetSafeHwnd();
        const int buttonFont = FontHeightOf(button), logFont = FontHeightOf(log.GetSafeHwnd());
        EXPECT_EQ(FontHeightOf(edit), 16);
        const RECT buttonPlace = PlaceOf(button);
        std::string words;
        for (int n = 0; n < 40; ++n) words += "word" + std::to_string(n) + " ";
        dialog.AddLogLine(words, kReportMessage);
        int previous = 96;
        for (int dpi : {96, 144, 96}) {
            SCOPED_TRACE(dpi);
            const RECT suggested = SendDpiChange(hwnd, previous, dpi);
            previous = dpi;
            GetWindowRect(hwnd, &window);
            EXPECT_EQ(window.left, suggested.left);
            EXPECT_EQ(window.right - window.left, suggested.right - suggested.left);
            // First the height the window had: asked again, it still follows the DPI.
            for (WindowHeight kind :
                 {kHeightCompact, kHeightWithLog, kHeightFull, kHeightCompact}) {
                dialog.SetLayout(kind);
                PumpMessages(100);
                EXPECT_EQ(HeightOf(hwnd), MulDiv(tops[kind - 1], dpi, 96) + frame) << kind;
                EXPECT_LE(HeightOf(hwnd), MulDiv(full.bottom, dpi, 96) + frame);
                ExpectTabStopsInSight(hwnd, kind);
            }
            EXPECT_TRUE(IsScaledPlace(PlaceOf(button), buttonPlace, 96, dpi));
            EXPECT_EQ(FontHeightOf(button), MulDiv(buttonFont, dpi, 96));
            EXPECT_EQ(FontHeightOf(edit), MulDiv(16, dpi, 96));
            EXPECT_EQ(FontHeightOf(log.GetSafeHwnd()), MulDiv(logFont, dpi, 96));
            EXPECT_EQ(FontHeightOf(panel), MulDiv(DescribeFont(nullptr).lfHeight, dpi, 96));
            // Whole lines that hold the wrapped text inset by a pixel above
            // and below, and no line more.
            const RowMeasures row = MeasureTopRow(log);
            ASSERT_GT(row.text, 2 * row.line);
            EXPECT_EQ(row.row % row.line, 0);
            EXPECT_GE(row.row, row.text + 2);
            EXPECT_LT(row.row, row.text + 2 + row.line);
        }
    });
}

// Tab walks only what the window's height shows, and a control that a smaller
// height cuts off loses the focus, so Enter cannot reach a hidden OK.
TEST_F(MainDlgTest, TabStopsAreAllInSight) {
    RunModalWith(dialog, [&](HWND hwnd) {
        const HWND ok = GetDlgItem(hwnd, IDC_OK_BUTTON);
        for (WindowHeight kind : {kHeightFull, kHeightWithLog, kHeightCompact, kHeightFull}) {
            dialog.SetLayout(kind);
            ExpectTabStopsInSight(hwnd, kind);
        }
        SetFocus(ok);
        ASSERT_EQ(GetFocus(), ok);
        dialog.SetLayout(kHeightWithLog);
        EXPECT_NE(GetFocus(), ok);
        EXPECT_TRUE(IsWindowVisible(GetFocus()));
    });
}

// Line 200 empties the list under a notice; line 1000 gets number 0 under
// both notices.
TEST_F(MainDlgTest, LogNumbering) {
    RunModalWith(dialog, [&](HWND) {
        CLogListBox& log = MainDlgProbe::Log(dialog);
        for (int n = 1; n < 200; ++n)
            dialog.AddLogLine("line " + std::to_string(n), kReportMessage);
        EXPECT_EQ(log.SendMessage(LB_GETCOUNT), 199);
        dialog.AddLogLine("line 200", kReportMessage);
        ASSERT_EQ(log.SendMessage(LB_GETCOUNT), 2);
        ASSERT_NE(log.EntryAtRow(0), nullptr);
        EXPECT_EQ(log.EntryAtRow(0)->serial, 200);
        EXPECT_EQ(log.EntryAtRow(1), nullptr);  // the notice, second from the top
        EXPECT_EQ(log.GetText(0), "line 200");  // rows read as the words they show
        EXPECT_EQ(log.GetText(1), "log_max");
        for (int n = 201; n < 1000; ++n)
            dialog.AddLogLine("line " + std::to_string(n), kReportError);
        dialog.AddLogLine("line 1000", kReportMessage);
        ASSERT_EQ(log.SendMessage(LB_GETCOUNT), 3);
        EXPECT_EQ(log.EntryAtRow(0)->serial, 0);
        EXPECT_EQ(log.EntryAtRow(0)->text, "line 1000");
        EXPECT_EQ(log.EntryAtRow(1), nullptr);
        EXPECT_EQ(log.EntryAtRow(2), nullptr);
        EXPECT_EQ(log.GetText(1), "counter_max");
        EXPECT_EQ(log.GetText(2), "log_max");
        dialog.AddLogLine("line 1001", kReportMessage);
        EXPECT_EQ(log.EntryAtRow(0)->serial, 1);
        EXPECT_EQ(log.GetText(0), "line 1001");
    });
}

// Ctrl+C in the log puts the selected row's words on the clipboard, whether the key comes to the
// list or through the dialog; C alone leaves the clipboard as it was.
TEST_F(MainDlgTest, CtrlCCopiesTheSelectedRow) {
    RunModalWith(dialog, [&](HWND hwnd) {
        CLogListBox& log = MainDlgProbe::Log(dialog);
        dialog.AddLogLine("first", kReportError);
        dialog.AddLogLine("caf\xE9 second", kReportMessage);
        const struct {
            int row;
            BYTE control;
            bool throughDialog;
            const char* copied;
        } rows[] = {
            {0, 0x80, false, "caf\xE9 second"}, {1, 0x80, true, "first"}, {0, 0, true, "before"}};
        for (const auto& row : rows) {
            SCOPED_TRACE(row.row);
            SystemDesktopSignals().CopyToClipboard(hwnd, "before");
            log.SendMessage(LB_SETCURSEL, WPARAM(row.row));
            log.SetFocus();
            BYTE keys[256] = {};
            keys[VK_CONTROL] = row.control;
            SetKeyboardState(keys);
            MSG key = {log.GetSafeHwnd(), WM_KEYDOWN, 'C', 1, 0, {}};
            if (row.throughDialog) IsDialogMessageA(hwnd, &key);
            if (!row.throughDialog) log.SendMessage(WM_KEYDOWN, 'C', 1);
            EXPECT_EQ(ClipboardText(), row.copied);
        }
    });
}

// What the opened line's message box showed; the box is closed at once.
// Callbacks are named functions: only they can be CALLBACK (stdcall) on i686.
// Also its owner, and whether the main window took input meanwhile.
std::string shown;
int opened;
HWND owner, mainWindow;
bool mainEnabled;
BOOL CALLBACK ReadMessageBox(HWND w, LPARAM) {
    if (TextOf(w) != "Tarnu Message" || !IsWindowVisible(w)) return TRUE;
    ++opened;
    shown = TextOf(GetDlgItem(w, IDC_MESSAGE_TEXT));
    owner = GetWindow(w, GW_OWNER);
    mainEnabled = IsWindowEnabled(mainWindow) != FALSE;
    PostMessageA(w, WM_COMMAND, IDOK, 0);
    return FALSE;
}
void CALLBACK ReadAndCloseMessageBox(HWND, UINT, UINT_PTR, DWORD) {
    EnumThreadWindows(GetCurrentThreadId(), ReadMessageBox, 0);
}

// A double click opens exactly the selected line's text; a notice, nothing.
// The message window is modal to the main window: owned by it, with the main
// window disabled while it is up.
TEST_F(MainDlgTest, OpeningLogLines) {
    shown.clear();
    opened = 0;
    RunModalWith(dialog, [&](HWND hwnd) {
        mainWindow = hwnd;
        CLogListBox& log = MainDlgProbe::Log(dialog);
        for (int n = 1; n <= 201; ++n)
            dialog.AddLogLine("line " + std::to_string(n), kReportMessage);
        const UINT_PTR timer = SetTimer(nullptr, 0, 50, ReadAndCloseMessageBox);
        log.SendMessage(LB_SETCURSEL, 2);  // the notice, under lines 201 and 200
        MainDlgProbe::OpenSelectedLine(dialog);
        PumpMessages(200);
        EXPECT_EQ(opened, 0);
        log.SendMessage(LB_SETCURSEL, 0);  // line 201, opened from the keyboard
        log.SendMessage(WM_KEYDOWN, VK_SPACE);
        KillTimer(nullptr, timer);
        EXPECT_EQ(opened, 1);
        EXPECT_EQ(shown, "line 201");
        EXPECT_EQ(owner, hwnd);
        EXPECT_FALSE(mainEnabled);
        EXPECT_TRUE(IsWindowEnabled(hwnd));
    });
}

// Headers of small files make more bytes than planned: the figures stop at
// the total.
TEST_F(MainDlgTest, ProgressPastFourGibibytesStopsAtTheTotal) {
    RunModalWith(dialog, [&](HWND hwnd) {
        JobProgress& progress = MainDlgProbe::ProgressOf(dialog);
        const std::string before = TextOf(hwnd);
        progress.total = 5ull << 30;
        MainDlgProbe::Tick(dialog);  // nothing done yet: nothing changes
        EXPECT_EQ(TextOf(hwnd), before);
        progress.done = 4ull << 30;
        MainDlgProbe::Tick(dialog);
        std::string title = TextOf(hwnd);
        EXPECT_EQ(title.rfind("Tarnu 4294967296 byte ", 0), 0u) << title;
        EXPECT_EQ(title.substr(title.size() - 16), " 5368709120 byte") << title;
        EXPECT_EQ(MainDlgProbe::Panel(dialog).GetWindowText(), "80 %");
        progress.done = 6ull << 30;
        MainDlgProbe::Tick(dialog);
        title = TextOf(hwnd);
        EXPECT_EQ(title.rfind("Tarnu 5368709120 byte ", 0), 0u) << title;
        EXPECT_EQ(MainDlgProbe::Panel(dialog).GetWindowText(), "100 %");
        progress.total = progress.done = 0;
    });
}

// File names come faster than the prompt is drawn: one held back is shown by
// the progress timer's next tick.
TEST_F(MainDlgTest, AFileNameHeldBackIsShownByTheNextTick) {
    RunModalWith(dialog, [&](HWND hwnd) {
        const HWND prompt = GetDlgItem(hwnd, IDC_PROMPT_TEXT);
        dialog.SetPromptText("first.txt");
        EXPECT_TRUE(PumpUntil([&] { return TextOf(prompt) == "first.txt"; }, 2000));
        dialog.SetPromptText("second.txt");
        PumpMessages(10);
        MainDlgProbe::Tick(dialog);
        EXPECT_EQ(TextOf(prompt), "second.txt");
    });
}

// Each of these messages repaints the owner-drawn controls before it returns.
TEST_F(MainDlgTest, AChangeOfSchemeRepaintsAtOnce) {
    const HighContrastScheme scheme;
    RunModalWith(dialog, [&](HWND hwnd) {
        CProgressPanel& panel = MainDlgProbe::Panel(dialog);
        panel.ShowWindow(SW_SHOW);
        for (const auto& [message, wParam] : {std::pair<UINT, WPARAM>{WM_SYSCOLORCHANGE, 0},
                                              {WM_THEMECHANGED, 0},
                                              {WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST}}) {
            highContrastOn = [] { return false; };
            panel.SetProgress(0, 50, 100);
            EXPECT_EQ(GetSysColor(COLOR_ACTIVECAPTION), ClientPixels(panel.GetSafeHwnd()).At(1, 1));
            highContrastOn = [] { return true; };
            SendMessageA(hwnd, message, wParam, 0);
            EXPECT_EQ(GetSysColor(COLOR_HIGHLIGHT), ClientPixels(panel.GetSafeHwnd()).At(1, 1))
                << message;
        }
    });
}

TEST_F(MainDlgTest, AutomaticExitAfterACleanJob) {
    ULONGLONG posted = 0, ended = 0;
    const INT_PTR result = RunModalWith(dialog, [&](HWND hwnd) {
        MainDlgProbe::SettingsOf(dialog).autoExit = 1;
        posted = GetTickCount64();
        PostMessageA(hwnd, WM_JOB_FINISHED, 0, 0);
        EXPECT_TRUE(PumpUntil([&] { return !IsWindowVisible(hwnd); }, 5000));
        ended = GetTickCount64();
        EXPECT_EQ(MainDlgProbe::Log(dialog).EntryAtRow(0)->text, "tarnu_goodbye");
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_GE(ended - posted, 550u);
    EXPECT_LE(ended - posted, 3000u);
}

TEST_F(MainDlgTest, NoAutomaticExitAfterAnError) {
    RunModalWith(dialog, [&](HWND hwnd) {
        MainDlgProbe::SettingsOf(dialog).autoExit = 1;
        MainDlgProbe::SetErrorSeen(dialog);
        PostMessageA(hwnd, WM_JOB_FINISHED, 0, 0);
        PumpMessages(1200);
        EXPECT_TRUE(IsWindowVisible(hwnd));
        EXPECT_EQ(MainDlgProbe::Log(dialog).EntryAtRow(0)->text, "error_auto_exit");
    });
}

TEST_F(MainDlgTest, DroppedPaths) {
    RunModalWith(dialog, [&](HWND hwnd) {
        const std::string self = MainDlgProbe::ProgramPath(dialog);
        std::string shouted = self;
        CharUpperA(&shouted[0]);
        Drop(hwnd, {"C:\\data\\A.CPY", shouted, "C:\\data\\folder"});
        EXPECT_EQ(MainDlgProbe::Mode(dialog),
                  kJobDecrypt);  // ".CPY" is ".cpy", as Windows compares
        EXPECT_EQ(MainDlgProbe::Worker(dialog).jobPaths,
                  (std::vector<std::string>{"C:\\data\\A.CPY", "C:\\data\\folder"}));
        EXPECT_EQ(LogTexts(MainDlgProbe::Log(dialog)),
                  (std::vector<std::string>{"Msg: message_drop", "Drag : C:\\data\\A.CPY",
                                            "Drag : C:\\data\\folder"}));
        EXPECT_NE(TextOf(hwnd).find(" - [SelectMode]"), std::string::npos);
        const std::string longPath = "C:\\" + std::string(280, 'y');
        Drop(hwnd, {"C:\\data\\.cpy", "C:/data/d/", longPath});
        EXPECT_EQ(MainDlgProbe::Mode(dialog), kJobDecrypt);
        EXPECT_EQ(MainDlgProbe::Worker(dialog).jobPaths.back(), "C:\\data\\d");
        EXPECT_EQ(LogTexts(MainDlgProbe::Log(dialog)).back(),
                  "message_path_too_long : " + longPath);  // never cut to fit
        Drop(hwnd, {"C:\\data\\plain.txt"});
        EXPECT_EQ(MainDlgProbe::Mode(dialog), kJobDecrypt);  // stays
        // A name the code page only approximates ("..\\x" by best fit) is named
        // as the listing spells it, never queued.
        Drop(hwnd, std::vector<std::wstring>{L"C:\\data\\..\uFF3Cx.txt", L"C:\\data\\caf\u00E9"});
        EXPECT_EQ(MainDlgProbe::Worker(dialog).jobPaths.back(), "C:\\data\\caf\xE9");
        const auto texts = LogTexts(MainDlgProbe::Log(dialog));
        EXPECT_EQ(texts[texts.size() - 2], "message_name_not_in_code_page : C:\\data\\..?x.txt");
        MainDlgProbe::Worker(dialog).jobPaths.clear();
    });
}

// Paths are queued as the system names them, whatever a console user typed.
TEST_F(MainDlgTest, CommandLineTokens) {
    char current[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, current);
    const std::string here = std::string(current) + (current[3] ? "\\" : "");
    RunModalWith(dialog, [&](HWND) {
        const std::string longToken(300, 'x');
        dialog.AddCommandLinePaths(
            "\"C:\\My Files\\a.doc\" D:\\b.txt " + longToken +
            " a.txt C:/data/b.txt D:\\ d:/ E: C:\\x\\..\\y\\. c:\\Data\\sub\\ C:\\a?b.txt");
        EXPECT_EQ(MainDlgProbe::Worker(dialog).jobPaths,
                  (std::vector<std::string>{"C:\\My Files\\a.doc", "D:\\b.txt", here + "a.txt",
                                            "C:\\data\\b.txt", "D:", "d:", "E:", "C:\\y",
                                            "c:\\Data\\sub"}));
        const auto texts = LogTexts(MainDlgProbe::Log(dialog));
        ASSERT_EQ(texts.size(), 11u);
        EXPECT_EQ(texts[2], "message_path_too_long : " + longToken);  // named whole, never cut
        // '?': a character the code page lacks, in the command line as read.
        EXPECT_EQ(texts[10], "message_name_not_in_code_page : C:\\a?b.txt");
        MainDlgProbe::Worker(dialog).jobPaths.clear();
    });
}

void TypeInto(HWND dialog, int id, const char* text) {
    SetWindowTextA(GetDlgItem(dialog, id), text);
}

int answer;
BOOL CALLBACK AnswerQuestionBox(HWND w, LPARAM timer) {
    if (TextOf(w) != "Tarnu" || !IsWindowVisible(w)) return TRUE;
    KillTimer(nullptr, UINT_PTR(timer));
    PostMessageA(w, WM_COMMAND, answer, 0);
    return FALSE;
}
void CALLBACK LookForQuestion(HWND, UINT, UINT_PTR id, DWORD) {
    EnumThreadWindows(GetCurrentThreadId(), AnswerQuestionBox, LPARAM(id));
}

// Answers the next question box (caption "Tarnu") with button.
void AnswerNextQuestion(int button) {
    answer = button;
    SetTimer(nullptr, 0, 50, LookForQuestion);
}

// Jobs on an empty folder of their own, so that they end at once.
// What a screen reader would read out: the names of the alerts raised.
std::vector<std::string> alertsHeard;

void CALLBACK HearAlert(HWINEVENTHOOK, DWORD, HWND window, LONG object, LONG child, DWORD, DWORD) {
    IAccessible* accessible = nullptr;
    VARIANT which;
    if (FAILED(AccessibleObjectFromEvent(window, object, child, &accessible, &which))) return;
    BSTR name = nullptr;
    if (accessible->get_accName(which, &name) == S_OK && name) {
        char text[512] = {};
        WideCharToMultiByte(CP_ACP, 0, name, -1, text, sizeof text, nullptr, nullptr);
        alertsHeard.push_back(text);
    }
    SysFreeString(name);
    accessible->Release();
}

class AlertListener {
  public:
    AlertListener() {
        alertsHeard.clear();
        hook = SetWinEventHook(EVENT_SYSTEM_ALERT, EVENT_SYSTEM_ALERT, nullptr, HearAlert,
                               GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
        EXPECT_NE(nullptr, hook);
    }
    ~AlertListener() { UnhookWinEvent(hook); }

  private:
    HWINEVENTHOOK hook;
};

class MainDlgJobTest : public MainDlgTest {
  protected:
    void Start(HWND hwnd, JobKind operation, const char* upper, const char* lower) {
        std::string folder = dir / "";
        folder.pop_back();
        MainDlgProbe::Worker(dialog).jobPaths = {folder};
        TypeInto(hwnd, IDC_PASSWORD_EDIT, upper);
        TypeInto(hwnd, IDC_CONFIRM_EDIT, lower);
        MainDlgProbe::HoldWorker(dialog);
        dialog.BeginJob(operation);
    }
    bool WaitForIdle() {
        return PumpUntil([&] { return !MainDlgProbe::Running(dialog); }, 10000);
    }
    std::string LastLine() { return MainDlgProbe::Log(dialog).EntryAtRow(0)->text; }

    TempFolder dir;
};

TEST_F(MainDlgJobTest, TwoBoxesMustMatchToEncrypt) {
    const AlertListener listener;
    RunModalWith(dialog, [&](HWND hwnd) {
        Start(hwnd, kJobEncrypt, "secret", "");
        EXPECT_FALSE(MainDlgProbe::Running(dialog));
        EXPECT_EQ(LastLine(), "password_miss");
        PumpMessages(50);
        EXPECT_EQ(std::vector<std::string>{"password_miss"}, alertsHeard);
        EXPECT_EQ(GetFocus(), GetDlgItem(hwnd, IDC_CONFIRM_EDIT));
        RECT client;
        GetClientRect(hwnd, &client);
        EXPECT_EQ(client.bottom, TopOf(hwnd, IDC_MARK_LOG));  // the window shows the log
        EXPECT_EQ(TextOf(GetDlgItem(hwnd, IDC_PASSWORD_EDIT)), "secret");  // boxes keep their texts

        SetFocus(GetDlgItem(hwnd, IDC_PASSWORD_EDIT));
        Start(hwnd, kJobEncrypt, "", "secret");
        EXPECT_FALSE(MainDlgProbe::Running(dialog));
        EXPECT_EQ(GetFocus(), GetDlgItem(hwnd, IDC_PASSWORD_EDIT));  // the focus stays

        Start(hwnd, kJobEncrypt, "", "");  // an empty password is a password
        EXPECT_TRUE(MainDlgProbe::Running(dialog));
        EXPECT_TRUE(WaitForIdle());
    });
}

// Only a job whose log says nothing beyond its notices ends the program: a
// refusal, or paths dropped for the next job, keep the window open.
TEST_F(MainDlgJobTest, AutomaticExitOnlyAfterAQuietJob) {
    const ProgramPaths paths = ReadProgramPaths();
    for (const char* what : {"refused", "held drop", "clean", "linked"}) {
        SCOPED_TRACE(what);
        // A file with two names is left alone, each name with an error line.
        const bool linked = std::string(what) == "linked";
        if (linked) {
            CloseHandle(CreateFileA((dir / "a.txt").c_str(), GENERIC_WRITE, 0, nullptr,
                                    CREATE_ALWAYS, 0, nullptr));
            ASSERT_TRUE(CreateHardLinkA((dir / "b.txt").c_str(), (dir / "a.txt").c_str(), nullptr));
        }
        CMainDlg window;
        RunModalWith(window, [&](HWND hwnd) {
            MainDlgProbe::SettingsOf(window).autoExit = 1;
            MainDlgProbe::SettingsOf(window).confirm = 0;
            std::string folder = dir / "";
            folder.pop_back();
            MainDlgProbe::Worker(window).jobPaths = {
                std::string(what) == "refused" ? paths.windowsDirectory : folder};
            if (std::string(what) == "held drop") MainDlgProbe::HeldDrops(window) = {folder};
            TypeInto(hwnd, IDC_SINGLE_EDIT, "secret");
            const AlertListener listener;
            window.BeginJob(kJobEncrypt);
            PumpMessages(1500);
            EXPECT_EQ(IsWindowVisible(hwnd) != FALSE, std::string(what) != "clean");
            // The end is heard, with a word on what went wrong; an error
            // also as it happens.
            std::vector<std::string> heard = {"message_encryption_finished"};
            if (std::string(what) == "refused") heard[0] += " announce_job_errors";
            if (linked) {
                heard = {FirstErrorIn(MainDlgProbe::Log(window)),
                         heard[0] + " announce_job_errors"};
            }
            EXPECT_EQ(heard, alertsHeard);
        });
    }
}

// The log warns when the password taken is longer than the key's 16 bytes.
TEST_F(MainDlgJobTest, DecryptionTakesTheUpperBox) {
    RunModalWith(dialog, [&](HWND hwnd) {
        MainDlgProbe::SettingsOf(dialog).hashCheck = 0;  // no question between the jobs
        const struct {
            const char *upper, *lower;
            bool warned;
        } rows[] = {{"upper", "lower", false},
                    {"0123456789abcdefghij", "", true},
                    {"0123456789abcdef", "0123456789abcdefghij", false}};
        for (const auto& row : rows) {
            SCOPED_TRACE(row.upper);
            MainDlgProbe::Log(dialog).SendMessage(LB_RESETCONTENT);
            Start(hwnd, kJobDecrypt, row.upper, row.lower);
            EXPECT_TRUE(MainDlgProbe::Running(dialog));
            EXPECT_EQ(MainDlgProbe::Worker(dialog).password, row.upper);
            EXPECT_EQ(GetFocus(), GetDlgItem(hwnd, IDC_CIPHER_BUTTON));  // now Stop
            EXPECT_TRUE(WaitForIdle());
            EXPECT_EQ(GetFocus(), GetDlgItem(hwnd, IDC_PASSWORD_EDIT));
            const auto lines = LogTexts(MainDlgProbe::Log(dialog));
            ASSERT_GE(lines.size(), 3u);
            EXPECT_EQ(lines[0] == "decipher_upbox_input", *row.lower != '\0');
            EXPECT_EQ(std::count(lines.begin(), lines.end(), "message_password_truncated"),
                      row.warned ? 1 : 0);
            EXPECT_EQ(TextOf(GetDlgItem(hwnd, IDC_PASSWORD_EDIT)), "");  // handed over, cleared
        }
    });
}

TEST_F(MainDlgJobTest, OneBoxLayoutReadsOnlyItsBox) {
    RunModalWith(dialog, [&](HWND hwnd) {
        MainDlgProbe::SettingsOf(dialog).confirm = 0;
        dialog.ShowPasswordBoxes();
        EXPECT_TRUE(IsWindowVisible(GetDlgItem(hwnd, IDC_SINGLE_EDIT)));
        EXPECT_FALSE(IsWindowVisible(GetDlgItem(hwnd, IDC_PASSWORD_EDIT)));
        TypeInto(hwnd, IDC_SINGLE_EDIT, "single");
        Start(hwnd, kJobEncrypt, "upper", "different");
        EXPECT_EQ(MainDlgProbe::Worker(dialog).password, "single");
        EXPECT_EQ(GetFocus(), GetDlgItem(hwnd, IDC_DECIPHER_BUTTON));  // now Stop
        EXPECT_TRUE(WaitForIdle());
        EXPECT_EQ(GetFocus(), GetDlgItem(hwnd, IDC_SINGLE_EDIT));
    });
}

// The first job remembers the password's check value; another password is
// used only after a Yes.
TEST_F(MainDlgJobTest, PasswordCheckValue) {
    RunModalWith(dialog, [&](HWND hwnd) {
        Settings& settings = MainDlgProbe::SettingsOf(dialog);
        Start(hwnd, kJobEncrypt, "first", "first");
        EXPECT_TRUE(MainDlgProbe::Running(dialog));
        EXPECT_TRUE(WaitForIdle());
        const PasswordCheckValue first = settings.hashValue;
        EXPECT_EQ(first, ComputePasswordCheckValue("first"));

        for (int refusal : {IDNO, IDCANCEL}) {
            AnswerNextQuestion(refusal);
            Start(hwnd, kJobEncrypt, "second", "second");
            EXPECT_FALSE(MainDlgProbe::Running(dialog)) << refusal;
            EXPECT_EQ(settings.hashValue, first);
            EXPECT_EQ(TextOf(GetDlgItem(hwnd, IDC_PASSWORD_EDIT)), "second");
        }
        AnswerNextQuestion(IDYES);
        Start(hwnd, kJobEncrypt, "second", "second");
        EXPECT_TRUE(MainDlgProbe::Running(dialog));
        EXPECT_EQ(settings.hashValue, ComputePasswordCheckValue("second"));
        EXPECT_TRUE(WaitForIdle());
    });
}

TEST_F(MainDlgJobTest, EnterGuessesTheOperationFromTheProgramFolder) {
    RunModalWith(dialog, [&](HWND) {
        MainDlgProbe::SetProgramFolder(dialog, dir / "sub");
        CreateDirectoryA((dir / "sub").c_str(), nullptr);
        MainDlgProbe::GuessMode(dialog);
        EXPECT_EQ(MainDlgProbe::Mode(dialog), kJobEncrypt);
        CloseHandle(CreateFileA((dir / "sub\\x.cpy").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                0, nullptr));
        MainDlgProbe::GuessMode(dialog);
        EXPECT_EQ(MainDlgProbe::Mode(dialog), kJobDecrypt);
    });
}

// A sparse file big enough that a job is still in its body when the test acts.
std::string MakeBigFile(const TempFolder& dir) {
    const std::string big = dir / "big.bin";
    const HANDLE file = CreateFileA(big.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    LARGE_INTEGER size;
    size.QuadPart = 512ll << 20;
    EXPECT_TRUE(SetFilePointerEx(file, size, nullptr, FILE_BEGIN) && SetEndOfFile(file));
    CloseHandle(file);
    return big;
}

// Starts encrypting dir and returns once the worker is inside big.bin.
void StartOnBigFile(CMainDlg& dialog, HWND hwnd, const TempFolder& dir) {
    std::string folder = dir / "";
    folder.pop_back();
    MainDlgProbe::Worker(dialog).jobPaths = {folder};
    TypeInto(hwnd, IDC_PASSWORD_EDIT, "pw");
    TypeInto(hwnd, IDC_CONFIRM_EDIT, "pw");
    dialog.BeginJob(kJobEncrypt);
    EXPECT_TRUE(
        PumpUntil([&] { return TextOf(GetDlgItem(hwnd, IDC_PROMPT_TEXT)) == "big.bin"; }, 10000));
    PumpMessages(100);
}

// The names of the password boxes and of the log.
std::vector<std::string> BoxNames(HWND dialog) {
    std::vector<std::string> names;
    for (int id : {IDC_SINGLE_EDIT, IDC_PASSWORD_EDIT, IDC_CONFIRM_EDIT, IDC_LOG_LIST})
        names.push_back(LabelOf(GetDlgItem(dialog, id)));
    return names;
}

void ExpectUntouched(const TempFolder& dir, const std::string& big) {
    WIN32_FIND_DATAA data;
    const HANDLE find = FindFirstFileA((dir / "*.cpy").c_str(), &data);
    EXPECT_EQ(find, INVALID_HANDLE_VALUE) << "left behind: " << data.cFileName;
    if (find != INVALID_HANDLE_VALUE) FindClose(find);
    WIN32_FILE_ATTRIBUTE_DATA attributes;
    ASSERT_TRUE(GetFileAttributesExA(big.c_str(), GetFileExInfoStandard, &attributes));
    EXPECT_EQ(attributes.nFileSizeHigh, 0u);
    EXPECT_EQ(attributes.nFileSizeLow, 512u << 20);
}

// Stop is asked for once per press; the window is idle again only when the
// worker says the job has ended. The boxes keep their names throughout, and
// the taskbar's progress object takes the job's states.
TEST(MainDlgStop, ReturnsToIdleOnTheJobsEnd) {
    RegistrySandbox registry{kSettingsKeyPath};
    TempFolder dir;
    const std::string big = MakeBigFile(dir);
    CMainDlg dialog;
    const std::vector<std::string> names = {"label_password", "label_password",
                                            "label_password_again", "label_log"};
    RunModalWith(dialog, [&](HWND hwnd) {
        EXPECT_EQ(BoxNames(hwnd), names);
        // What the taskbar sends: the system's progress object, as far as Wine has one.
        SendMessageA(hwnd, RegisterWindowMessageA("TaskbarButtonCreated"), 0, 0);
        StartOnBigFile(dialog, hwnd, dir);
        EXPECT_EQ(BoxNames(hwnd), names);
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(hwnd, IDC_CIPHER_BUTTON)));
        SendMessageA(hwnd, WM_COMMAND, IDC_DECIPHER_BUTTON, 0);  // the Stop button now
        EXPECT_TRUE(MainDlgProbe::Running(dialog));
        EXPECT_TRUE(PumpUntil([&] { return !MainDlgProbe::Running(dialog); }, 10000));
        EXPECT_TRUE(IsWindowEnabled(GetDlgItem(hwnd, IDC_CIPHER_BUTTON)));
        EXPECT_EQ(BoxNames(hwnd), names);
        const auto lines = LogTexts(MainDlgProbe::Log(dialog));
        ASSERT_GE(lines.size(), 2u);
        EXPECT_EQ(lines[lines.size() - 2],
                  "message : message_encryption_canceled : " + big);  // the file's own
        EXPECT_EQ(lines.back(), "message_encryption_finished");
    });
    ExpectUntouched(dir, big);
}

// The taskbar button follows the job: running, held from a Stop until the
// job ends, red once the log has an error (a Stop leaves it red), and
// nothing when idle; it shows how far the job is. The job's end flashes it
// only when another program's window is in front (a window of this one's own,
// such as a message box, counts as this one).
TEST(MainDlgStop, TaskbarFollowsTheJob) {
    RegistrySandbox registry{kSettingsKeyPath};
    TempFolder dir;
    MakeBigFile(dir);
    RecordingSignals signals;  // outlives the window
    CMainDlg dialog;
    RunModalWith(dialog, [&](HWND hwnd) {
        MainDlgProbe::SetSignals(dialog, &signals);
        TestHost other;
        const HWND owned = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 40, 40,
                                           hwnd, nullptr, nullptr, nullptr);
        const struct {
            std::string steps;
            HWND front;
            int flashes;
            std::vector<TaskbarState> states;
        } rows[] = {
            {"stop", hwnd, 0, {kTaskbarRunning, kTaskbarPaused, kTaskbarIdle}},
            {"error stop", other.GetSafeHwnd(), 1, {kTaskbarRunning, kTaskbarError, kTaskbarIdle}},
            {"stop error",
             owned,
             0,
             {kTaskbarRunning, kTaskbarPaused, kTaskbarError, kTaskbarIdle}}};
        for (const auto& row : rows) {
            SCOPED_TRACE(row.steps);
            signals.states.clear();
            signals.flashes = 0;
            signals.valueShown = false;
            StartOnBigFile(dialog, hwnd, dir);
            EXPECT_TRUE(PumpUntil([&] { return signals.valueShown; }, 2000));
            if (row.steps == "error stop") dialog.ReportLine("bad", kReportError);
            PumpMessages(50);
            SendMessageA(hwnd, WM_COMMAND, IDC_DECIPHER_BUTTON, 0);  // Stop
            if (row.steps == "stop error") dialog.ReportLine("bad", kReportError);
            SetForegroundWindow(row.front);
            EXPECT_TRUE(PumpUntil([&] { return !MainDlgProbe::Running(dialog); }, 10000));
            EXPECT_EQ(signals.states, row.states);
            EXPECT_EQ(signals.flashes, row.flashes);
        }
        DestroyWindow(owned);
    });
}

// Closing the window mid-file, by Escape or by Enter on OK, abandons the file
// cleanly: no partial ".cpy" file, the original as it was.
TEST(MainDlgClose, DuringAJobLeavesNoPartialOutput) {
    for (bool enterOnOk : {false, true}) {
        SCOPED_TRACE(enterOnOk ? "Enter on OK" : "Escape");
        RegistrySandbox registry{kSettingsKeyPath};
        TempFolder dir;
        const std::string big = MakeBigFile(dir);
        {
            CMainDlg dialog;
            const INT_PTR result = RunModalWith(dialog, [&](HWND hwnd) {
                StartOnBigFile(dialog, hwnd, dir);
                if (enterOnOk) {
                    SetFocus(GetDlgItem(hwnd, IDC_OK_BUTTON));
                    SendMessageA(hwnd, WM_COMMAND, IDOK, 0);
                } else {
                    SendMessageA(hwnd, WM_COMMAND, IDCANCEL, 0);
                }
                EXPECT_FALSE(IsWindowVisible(hwnd));
            });
            EXPECT_EQ(result, enterOnOk ? IDOK : IDCANCEL);
        }
        ExpectUntouched(dir, big);
    }
}

}  // namespace
