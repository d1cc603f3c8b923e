// CMainDlg: paths arriving by drag and drop and on the command line.
// clang-format off
#include <windows.h>
#include <shellapi.h>  // needs windows.h first
// clang-format on

#include "engine/command_line.h"
#include "fs/path_text.h"
#include "platform/full_path.h"
#include "platform/win32_code_page.h"
#include "ui/main_dlg.h"

namespace {

const size_t kMaxPathLength = 259;

}  // namespace

// Paths dropped while a job runs wait for its end: the worker owns the queue
// until then. They are read as UTF-16: the ANSI form spells a character the
// code page lacks by a look-alike, which can make a name a path elsewhere
// ("..\x" for "..＼x"); SystemFromWide spells it '?' instead.
LRESULT CMainDlg::OnDropFiles(WPARAM wParam, LPARAM) {
    const HDROP drop = reinterpret_cast<HDROP>(wParam);
    std::vector<std::string> paths;
    const UINT count = ::DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        std::wstring path(::DragQueryFileW(drop, i, nullptr, 0), L'\0');
        ::DragQueryFileW(drop, i, &path[0], UINT(path.size() + 1));
        paths.emplace_back();
        SystemFromWide(path, &paths.back());
    }
    ::DragFinish(drop);
    if (paths.empty()) return 0;
    if (running) {
        heldDrops.insert(heldDrops.end(), paths.begin(), paths.end());
    } else {
        TakeDroppedPaths(paths);
    }
    return 0;
}

void CMainDlg::TakeDroppedPaths(const std::vector<std::string>& paths) {
    EnterSelectMode();
    for (const std::string& path : paths) TakePath(path);
}

// Called when a job has ended.
void CMainDlg::TakeHeldDrops() {
    if (heldDrops.empty()) return;
    std::vector<std::string> paths;
    paths.swap(heldDrops);
    TakeDroppedPaths(paths);
}

void CMainDlg::TakeCommandLine() {
    std::string commandLine;
    SystemFromWide(::GetCommandLineW(), &commandLine);
    const std::string arguments = ArgumentsOf(commandLine);
    if (arguments.empty()) return;
    EnterSelectMode();
    AddCommandLinePaths(arguments);
}

void CMainDlg::AddCommandLinePaths(const std::string& text) {
    for (const std::string& token : SplitCommandLine(text)) TakePath(token);
}

// Every path is queued in its absolute, canonical form, so that a path typed
// in a console ("a.txt", "C:/data/b.txt", "D:\") names what the user meant
// and the refusals see through other spellings of the system folders. A path
// too long for the system is named in the log, never cut into another path;
// so is one the code page cannot spell ('?' where it lacks a character).
void CMainDlg::TakePath(const std::string& path) {
    const std::string canonical = path.size() > kMaxPathLength ? "" : CanonicalPath(path);
    if (canonical.empty()) {
        AddLogLine(Texts().LookupText("message_path_too_long") + " : " + path, kReportMessage);
    } else if (FindCharacter(canonical, "?", SystemCodePage()) != std::string::npos) {
        AddLogLine(Texts().LookupText("message_name_not_in_code_page") + " : " + canonical,
                   kReportMessage);
    } else if (!SystemCodePage().SameIgnoringCase(canonical, programPath)) {
        AddJobPath(canonical);
    }
}

void CMainDlg::EnterSelectMode() {
    SetLayout(kHeightWithLog);
    AddLogLine("Msg: " + Texts().LookupText("message_drop"), kReportMessage);
    SetWindowText(Texts().LookupText("tarnu_name") + " " + versionText + " - [SelectMode]");
}

// An encrypted file among the paths makes Enter decrypt.
void CMainDlg::AddJobPath(const std::string& path) {
    worker.jobPaths.push_back(path);
    if (mode == kJobEncrypt && EndsInCpy(path)) mode = kJobDecrypt;
    AddLogLine("Drag : " + path, kReportMessage);
}
