// CMainDlg: the log, the progress display, the end of a job, and the
// worker's calls handed over to the window's thread.
#include <algorithm>
#include <cstdio>

#include "platform/win32_code_page.h"
#include "ui/app_messages.h"
#include "ui/main_dlg.h"
#include "ui/message_dlg.h"

namespace {

// The arrow of the title in the system's code page, where it has one.
std::string TitleArrow() {
    std::string arrow;
    return SystemFromWide(L"\u2192", &arrow) ? arrow : std::string("->");
}

// Rows in order; in a single-selection list the one selected.
std::vector<int> SelectedRows(const CListBox& list) {
    const int count = int(list.SendMessage(LB_GETSELCOUNT));
    if (count == LB_ERR) {
        const int row = list.GetCurSel();
        return row < 0 ? std::vector<int>() : std::vector<int>{row};
    }
    std::vector<int> rows(size_t(std::max(count, 0)));
    if (count > 0) list.SendMessage(LB_GETSELITEMS, WPARAM(count), LPARAM(rows.data()));
    return rows;
}

}  // namespace

// The worker's side: each call is left in the mailbox, in order with the
// file processor's lines; the first of a batch wakes the window.
void CMainDlg::AddLogLine(const std::string& text) {
    PassToWindow({WorkerCall::kLogLine, text, kReportMessage});
}

void CMainDlg::ReportLine(const std::string& line, ReportKind kind) {
    PassToWindow({WorkerCall::kReportLine, line, kind});
}

void CMainDlg::SetPromptText(const std::string& text) {
    PassToWindow({WorkerCall::kPrompt, text, kReportMessage});
}

void CMainDlg::JobFinished() { PostMessage(WM_JOB_FINISHED); }

void CMainDlg::PassToWindow(WorkerCall call) {
    if (workerCalls.Put(std::move(call))) PostMessage(WM_WORKER_CALLS);
}

LRESULT CMainDlg::OnWorkerCalls(WPARAM, LPARAM) {
    TakeWorkerCalls();
    return 1;
}

// Only the last file's name would be seen: the others are skipped, and the
// name waits while the one before has been up less than a tenth of a second
// (the progress timer shows it then). Small files come by the hundred a
// second, and the window drew the prompt anew for each.
void CMainDlg::TakeWorkerCalls() {
    const std::deque<WorkerCall> calls = workerCalls.TakeAll();
    const WorkerCall* lastPrompt = nullptr;
    const bool errorBefore = errorSeen;
    for (const WorkerCall& call : calls) {
        if (call.what == WorkerCall::kPrompt) {
            lastPrompt = &call;
            continue;
        }
        // The first error is heard when it happens; the rest at the end.
        if (call.kind == kReportError && !errorSeen) announcer.Announce(call.text);
        if (call.kind == kReportError) errorSeen = true;
        lastWorkerLine = call.text;
        AddLogLine(call.text, call.kind);
    }
    if (lastPrompt) waitingPrompt = lastPrompt->text;
    ShowWaitingPrompt(false);
    if (errorSeen != errorBefore) ShowTaskbarState();
}

void CMainDlg::ShowWaitingPrompt(bool due) {
    const ULONGLONG now = ::GetTickCount64();
    if (waitingPrompt.empty() || (!due && now - promptShownAt < kPromptMilliseconds)) return;
    promptText.SetWindowText(waitingPrompt);
    waitingPrompt.clear();
    promptShownAt = now;
}

// Lines are numbered 1 to 999, then from 0 again; the list is emptied at
// every 200th line, with a notice saying so.
void CMainDlg::AddLogLine(const std::string& text, ReportKind kind) {
    ++logCounter;
    if (logCounter % 200 == 0) {
        logList.SendMessage(LB_RESETCONTENT);
        logList.AddNotice(Texts().LookupText("log_max"));
    }
    if (logCounter > 999) {
        logCounter = 0;
        logList.AddNotice(Texts().LookupText("counter_max"));
    }
    logList.AddEntry(text, kind, logCounter);
}

void CMainDlg::OnLogDoubleClick() {
    const LogEntry* entry = logList.EntryAtRow(int(logList.SendMessage(LB_GETCURSEL)));
    if (!entry) return;
    CMessageDlg dialog(this);  // modal to the main window
    dialog.text = entry->text;
    dialog.DoModal();
}

// Keys in the log, which the list hands over before it moves its selection:
// Ctrl+C copies the selected row, Space opens it (Enter starts a job).
LRESULT CMainDlg::OnLogKey(WPARAM wParam, LPARAM) {
    const bool control = ::GetKeyState(VK_CONTROL) < 0;
    if (LOWORD(wParam) == 'C' && control) {
        CopySelectedRows();
    } else if (LOWORD(wParam) == VK_SPACE && !control) {
        OnLogDoubleClick();
    } else {
        return -1;  // the list's own
    }
    return -2;  // taken
}

// The rows' words as they are read out, top to bottom, one line each.
void CMainDlg::CopySelectedRows() {
    std::string text;
    for (int row : SelectedRows(logList)) {
        if (!text.empty()) text += "\r\n";
        text += logList.GetText(row);
    }
    if (!text.empty()) signals->CopyToClipboard(GetSafeHwnd(), text);
}

LRESULT CMainDlg::OnTimer(WPARAM id, LPARAM) {
    if (id == kProgressTimer) {
        ProgressTick();
    } else {
        Quit(IDOK);
    }
    return 0;
}

// Done against planned bytes, as a percentage and as byte counts in the
// title. The headers of small files make more bytes than were planned: the
// figures stop at the total.
void CMainDlg::ProgressTick() {
    ShowWaitingPrompt(true);
    const int64_t total = int64_t(progress.total.load());
    const int64_t done = std::min(total, int64_t(progress.done + worker.Processor().GetCounters()));
    if (done < 1 || total < 1) return;
    const int64_t percent = int64_t(double(done) / double(total) * 100.0);
    const std::string text = std::to_string(percent) + " %";
    progressPanel.SetWindowText(text);
    progressPanel.SetProgress(int64_t(progress.start.load()), done, total);
    signals->SetTaskbarValue(GetSafeHwnd(), uint64_t(done), uint64_t(total));
    progressPanel.SetWindowText(text);
    SetWindowText(Texts().LookupText("tarnu_name") + " " + std::to_string(done) + " byte " +
                  TitleArrow() + " " + std::to_string(total) + " byte");
}

// The job's last line, and whether the log holds errors to read.
void CMainDlg::AnnounceJobEnd() {
    std::string text = lastWorkerLine;
    if (errorSeen || !worker.LastJobWasClean())
        text += " " + Texts().LookupText("announce_job_errors");
    announcer.Announce(text);
}

LRESULT CMainDlg::OnJobFinished(WPARAM, LPARAM) {
    TakeWorkerCalls();  // the job's last lines before its end
    running = false;
    SignalJobEnd();
    cipherButton.EnableWindow(true);
    decipherButton.EnableWindow(true);
    cipherButton.SetWindowText(Texts().LookupText("button_cipher"));
    decipherButton.SetWindowText(Texts().LookupText("button_decipher"));
    ShowPasswordBoxes();
    progressPanel.ShowWindow(SW_HIDE);
    KillTimer(kProgressTimer);
    ::MessageBeep(MB_OK);
    AnnounceJobEnd();
    SetLayout(kHeightFull);
    ShowIdleTitle();
    waitingPrompt.clear();
    promptText.SetWindowText(Texts().LookupText("please_input_password"));
    FocusPasswordBox();  // ready for the next job's password
    const bool pathsWaiting = !heldDrops.empty();
    TakeHeldDrops();
    if (!settings.autoExit) return 1;
    // Anything the log says beyond the job's notices, and paths dropped for
    // the next job, keep the window open for the user to see.
    if (errorSeen || pathsWaiting || !worker.LastJobWasClean()) {
        AddLogLine(Texts().LookupText("error_auto_exit"), kReportMessage);
    } else {
        AddLogLine(Texts().LookupText("tarnu_goodbye"), kReportMessage);
        SetTimer(kExitTimer, 600);
    }
    return 1;
}
