#pragma once
// What the main window's tests read and set inside CMainDlg (its friend).

#include <string>
#include <vector>

#include "ui/app_messages.h"
#include "ui/main_dlg.h"

class MainDlgProbe {
  public:
    static CLogListBox& Log(CMainDlg& d) { return d.logList; }
    static Settings& SettingsOf(CMainDlg& d) { return d.settings; }
    static JobProgress& ProgressOf(CMainDlg& d) { return d.progress; }
    static WorkerThread& Worker(CMainDlg& d) { return d.worker; }
    static void Tick(CMainDlg& d) { d.ProgressTick(); }
    static void OpenSelectedLine(CMainDlg& d) { d.OnLogDoubleClick(); }
    static void SetErrorSeen(CMainDlg& d) { d.errorSeen = true; }
    static std::vector<std::string>& HeldDrops(CMainDlg& d) { return d.heldDrops; }
    static CProgressPanel& Panel(CMainDlg& d) { return d.progressPanel; }
    static int Mode(CMainDlg& d) { return d.mode; }
    static const std::string& ProgramPath(CMainDlg& d) { return d.programPath; }
    static bool Running(CMainDlg& d) { return d.running; }
    // Fills the worker's mailbox with prompts, so that a job's first line
    // waits for room until the test lets the window take them: what the
    // worker was handed can be read before the job ends.
    static void HoldWorker(CMainDlg& d) {
        while (!d.workerCalls.Full())
            d.workerCalls.Put({CMainDlg::WorkerCall::kPrompt, "", kReportMessage});
        ::PostMessageA(d.GetSafeHwnd(), WM_WORKER_CALLS, 0, 0);
    }
    static void GuessMode(CMainDlg& d) { d.GuessModeFromFolder(); }
    static void SetProgramFolder(CMainDlg& d, const std::string& folder) {
        d.programFolder = folder;
    }
    static HMENU Menu(CMainDlg& d) { return d.optionsMenu; }
    static void UpdateMenu(CMainDlg& d) { d.UpdateOptionsMenu(); }
    static void SetRunning(CMainDlg& d, bool running) { d.running = running; }
    static void SetOpener(CMainDlg& d, TargetOpener opener) { d.openTarget = opener; }
    static void SetSignals(CMainDlg& d, DesktopSignals* signals) { d.signals = signals; }
    static const std::string& ProgramFileName(CMainDlg& d) { return d.programFileName; }
};
