// CMainDlg: paths arriving by drag and drop and on the command line.
// clang-format off
#include <windows.h>
#include <shellapi.h>  // needs windows.h first
// clang-format on

#include "engine/command_line.h"
#include "fileops/path_text.h"
#include "ui/main_dlg.h"

namespace {

const size_t kMaxPathLength = 259;

// Multi-byte aware, as the system compares names.
bool SamePath(const std::string& a, const std::string& b) {
    return ::lstrcmpiA(a.c_str(), b.c_str()) == 0;
}

}  // namespace

// Paths dropped while a job runs wait for its end: the worker owns the queue
// until then.
LRESULT CMainDlg::OnDropFiles(WPARAM wParam, LPARAM) {
    const HDROP drop = reinterpret_cast<HDROP>(wParam);
    std::vector<std::string> paths;
    const UINT count = ::DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        char path[MAX_PATH] = {};
        ::DragQueryFileA(drop, i, path, sizeof path);
        paths.push_back(path);
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
    for (const std::string& path : paths) {
        if (!SamePath(path, programPath)) AddJobPath(path);
    }
}

// Called when a job has ended.
void CMainDlg::TakeHeldDrops() {
    if (heldDrops.empty()) return;
    std::vector<std::string> paths;
    paths.swap(heldDrops);
    TakeDroppedPaths(paths);
}

void CMainDlg::TakeCommandLine() {
    const std::string arguments = ArgumentsOf(::GetCommandLineA());
    if (arguments.empty()) return;
    EnterSelectMode();
    AddCommandLinePaths(arguments);
}

// A token too long for a path is named in the log, never cut into another path.
void CMainDlg::AddCommandLinePaths(const std::string& text) {
    for (const std::string& token : SplitCommandLine(text)) {
        if (SamePath(token, programPath)) continue;
        if (token.size() > kMaxPathLength) {
            AddLogLine(Texts().LookupText("message_path_too_long") + " : " + token, 0);
        } else {
            AddJobPath(token);
        }
    }
}

void CMainDlg::EnterSelectMode() {
    SetLayout(kHeightWithLog);
    AddLogLine("Msg: " + Texts().LookupText("message_drop"), 0);
    SetWindowText(Texts().LookupText("tarnu_name") + " " + versionText + " - [SelectMode]");
}

// An encrypted file among the paths makes Enter decrypt.
void CMainDlg::AddJobPath(const std::string& path) {
    worker.jobPaths.push_back(path);
    if (mode == kJobEncrypt && EndsInCpy(path)) mode = kJobDecrypt;
    AddLogLine("Drag : " + path, 0);
}
