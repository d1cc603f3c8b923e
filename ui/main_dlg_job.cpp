// CMainDlg: starting and stopping jobs from the password boxes and buttons.
#include "crypto/password_check.h"
#include "crypto/wipe.h"
#include "platform/files_matching.h"
#include "ui/app_messages.h"
#include "ui/main_dlg.h"

// Enter: quits on the OK button; otherwise starts the job the window expects
// (decryption when nothing was dropped and the program's folder holds
// encrypted files).
void CMainDlg::OnOK() {
    if (okButton.HasFocus()) return Quit(IDOK);
    if (worker.jobPaths.empty()) GuessModeFromFolder();
    BeginJob(mode == kJobEncrypt ? kJobEncrypt : kJobDecrypt);
}

void CMainDlg::GuessModeFromFolder() {
    mode = FilesMatching(programFolder, "*.cpy").empty() ? kJobEncrypt : kJobDecrypt;
}

// While a job runs the buttons and Enter stop it; otherwise the password is
// checked, handed over, and the job starts.
void CMainDlg::BeginJob(JobKind operation) {
    if (running) return RequestStop();
    errorSeen = stopAsked = false;
    progress.start = progress.done = progress.total = 0;
    progressPanel.SetProgress(0, 0, 0);
    if (!ReadPassword(operation)) return;
    if (!CheckPasswordValue()) return WipeString(worker.password);
    FileProcessor& processor = worker.Processor();
    processor.wipeRandom = settings.rand != 0;
    processor.wipeZero = settings.zero != 0;
    processor.writeReadOnly = settings.writeReadOnly != 0;
    if (worker.jobPaths.empty()) worker.jobPaths.push_back(programFolder);
    progress.start = progress.done = progress.total = 0;
    running = true;
    worker.StartJob(operation);
    ShowRunning(operation);
}

// The job goes on to a safe point; until it ends the taskbar shows it held.
void CMainDlg::RequestStop() {
    stopAsked = true;
    ShowTaskbarState();
    worker.RequestStop();
}

// An error outweighs a stop: the log has something to read.
void CMainDlg::ShowTaskbarState() {
    const TaskbarState state = !running    ? kTaskbarIdle
                               : errorSeen ? kTaskbarError
                               : stopAsked ? kTaskbarPaused
                                           : kTaskbarRunning;
    signals->SetTaskbarState(GetSafeHwnd(), state);
}

// The job's end reaches the user in another window through the taskbar.
void CMainDlg::SignalJobEnd() {
    ShowTaskbarState();
    const HWND front = ::GetForegroundWindow();
    if (!front || ::GetAncestor(front, GA_ROOTOWNER) != GetSafeHwnd())
        signals->FlashTaskbarButton(GetSafeHwnd());
}

// The two-box layout must match for encryption; decryption takes the upper
// box and only notes a different lower one.
bool CMainDlg::ReadPassword(JobKind operation) {
    if (!settings.confirm) {
        worker.password = singleEdit.GetWindowText();
        return true;
    }
    std::string upper = passwordEdit.GetWindowText();
    std::string lower = confirmEdit.GetWindowText();
    const bool accepted = operation != kJobEncrypt || upper == lower;
    if (!accepted) {
        AddLogLine(Texts().LookupText("password_miss"), kReportMessage);
        announcer.Announce(Texts().LookupText("password_miss"));
        SetLayout(kHeightWithLog);
        if (!upper.empty() && lower.empty()) confirmEdit.SetFocus();
    } else {
        if (operation != kJobEncrypt && !lower.empty() && upper != lower) {
            AddLogLine(Texts().LookupText("decipher_upbox_input"), kReportMessage);
        }
        worker.password = upper;
    }
    WipeString(upper);  // the dialog keeps no copy of the password
    WipeString(lower);
    return accepted;
}

// A password other than the last one is used only when the user says so.
bool CMainDlg::CheckPasswordValue() {
    if (!settings.hashCheck) return true;
    const PasswordCheckValue value = ComputePasswordCheckValue(worker.password);
    const bool none = settings.hashValue == PasswordCheckValue{};
    if (!none && value != settings.hashValue) {
        const std::string name = Texts().LookupText("tarnu_name");
        const int answer =
            ::MessageBoxA(GetSafeHwnd(), Texts().LookupText("message_password_hash").c_str(),
                          name.c_str(), MB_YESNOCANCEL | MB_ICONQUESTION);
        if (answer != IDYES) return false;
    }
    settings.hashValue = value;
    return true;
}

// The other operation's button becomes Stop; the boxes give way to the panel.
// The keyboard lands on Stop before the boxes go: a hidden box that held the
// focus would pass it on through the dialog first. Hidden, they are emptied
// without being drawn.
void CMainDlg::ShowRunning(JobKind operation) {
    const bool encrypt = operation == kJobEncrypt;
    CButton& stopButton = encrypt ? decipherButton : cipherButton;
    cipherButton.EnableWindow(!encrypt);
    decipherButton.EnableWindow(encrypt);
    stopButton.SetWindowText(
        Texts().LookupText(encrypt ? "button_encryption_stop" : "button_decryption_stop"));
    SetTimer(kProgressTimer, 200);
    MoveFocusTo(stopButton);
    for (CBalloonEdit* edit : {&singleEdit, &passwordEdit, &confirmEdit}) {
        edit->ShowWindow(SW_HIDE);
        edit->SetWindowText("");
    }
    progressPanel.ShowWindow(SW_SHOW);
    SetLayout(kHeightWithLog);
    ShowTaskbarState();
}

// Through the dialog, so that the default button follows the focus.
void CMainDlg::MoveFocusTo(const CWnd& control) {
    SendMessage(WM_NEXTDLGCTL, WPARAM(control.GetSafeHwnd()), TRUE);
}

void CMainDlg::FocusPasswordBox() { MoveFocusTo(settings.confirm ? passwordEdit : singleEdit); }
