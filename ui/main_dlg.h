#pragma once
// CMainDlg: the program's one window. It owns the worker and everything that
// lives as long as the program runs: the settings, the fonts, the progress
// panel, the log. The worker reaches it only through the WorkerOwner side,
// whose calls are left in a mailbox for the window's thread: the worker goes
// on at once, so a window busy drawing never holds up the job.

#include <string>
#include <vector>

#include "base/mailbox.h"
#include "engine/worker_thread.h"
#include "platform/button.h"
#include "platform/dialog.h"
#include "platform/win32_file_system.h"
#include "platform/window_dpi.h"
#include "ui/announcer.h"
#include "ui/balloon_edit.h"
#include "ui/desktop_signals.h"
#include "ui/log_list_box.h"
#include "ui/open_target.h"
#include "ui/progress_panel.h"
#include "ui/settings.h"

enum WindowHeight { kHeightCompact = 1, kHeightWithLog = 2, kHeightFull = 3 };

class CMainDlg : public CDialog, public WorkerOwner {
  public:
    CMainDlg();
    ~CMainDlg() override;

    void SetLayout(WindowHeight kind);
    void ShowPasswordBoxes();
    void ApplyPasswordMask(bool on);
    void AddLogLine(const std::string& text, ReportKind kind);
    void BeginJob(JobKind operation);
    void AddCommandLinePaths(const std::string& text);
    void AddJobPath(const std::string& path);

    // WorkerOwner, called on the worker's thread.
    void AddLogLine(const std::string& text) override;
    void ReportLine(const std::string& line, ReportKind kind) override;
    void SetPromptText(const std::string& text) override;
    void JobFinished() override;
    JobProgress& Progress() override { return progress; }

  protected:
    void DoDataExchange() override;
    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

  private:
    friend class MainDlgProbe;  // tests look inside

    // Start-up steps.
    void ReadPaths();
    void StartWorker();
    void CreateProgressPanel();
    std::string ChooseLanguage();
    void LoadTexts(const std::string& chosenPath);
    void RetireChosenLanguage(const std::string& chosenPath);
    void BuildOptionsMenu();
    void SetControlTexts();
    void CreateFonts();
    void MeasureLayout();
    static int MarkerOf(WindowHeight kind);
    int LayoutHeight(WindowHeight kind) const;
    void HideCutControls();
    void TakeCommandLine();
    void EnterSelectMode();
    void TakeDroppedPaths(const std::vector<std::string>& paths);
    void TakePath(const std::string& path);
    void TakeHeldDrops();
    void ShowIdleTitle();
    void UpdateOptionsMenu();
    void LookForShellItems();
    void RemoveSendToShortcuts();

    void Quit(INT_PTR result);
    void GuessModeFromFolder();
    bool ReadPassword(JobKind operation);
    bool CheckPasswordValue();
    void ShowRunning(JobKind operation);
    void AnnounceJobEnd();

    // Handlers.
    LRESULT OnPaint(WPARAM, LPARAM);
    LRESULT OnDpiChanged(WPARAM wParam, LPARAM lParam);
    LRESULT OnQueryDragIcon(WPARAM, LPARAM);
    LRESULT OnTimer(WPARAM, LPARAM);
    LRESULT OnJobFinished(WPARAM, LPARAM);
    LRESULT OnWorkerCalls(WPARAM, LPARAM);
    LRESULT OnDestroy(WPARAM, LPARAM);
    LRESULT OnDropFiles(WPARAM, LPARAM);
    void OnOkButton() { Quit(IDOK); }
    void OnCipher() { BeginJob(kJobEncrypt); }
    void OnDecipher() { BeginJob(kJobDecrypt); }
    void OnLogDoubleClick();
    LRESULT OnContextMenu(WPARAM, LPARAM);
    POINT KeyboardMenuPoint() const;
    void MoveFocusTo(const CWnd& control);
    void FocusPasswordBox();
    void AddSystemMenuItem();
    LRESULT OnSysCommand(WPARAM, LPARAM);
    void OnToggleZero();
    void OnToggleRand();
    void OnToggleReadOnly();
    void OnToggleAutoExit();
    void OnToggleHashCheck();
    void OnToggleConfirm();
    void OnTogglePasswordMask();
    void OpenProgramFolder();
    void OnToggleSendTo();
    void OnToggleFileType();
    void OnAbout();
    void OnSitePage();
    void ProgressTick();
    void RequestStop();
    void ShowTaskbarState();
    void SignalJobEnd();
    LRESULT OnLogKey(WPARAM wParam, LPARAM lParam);
    void CopySelectedRows();

    bool running = false;
    // The layout: the markers' tops at the DPI the window started at.
    int startDpi = USER_DEFAULT_SCREEN_DPI, dpi = USER_DEFAULT_SCREEN_DPI;
    int markerTops[3] = {};
    int layoutWidth = 0, frameHeight = 0;
    LOGFONTA templateFont{};    // at the start DPI
    ChildPlaces controlPlaces;  // the template's, at the start DPI
    WindowHeight layoutKind = kHeightCompact;
    static constexpr int kEditFontHeight = 16;  // pixels at 96 DPI
    std::string programPath, programFolder, programFileName;
    std::string systemDrive, systemDirectory, windowsDirectory;
    std::string versionText;
    Settings settings;
    JobKind mode = kJobEncrypt;
    bool errorSeen = false;
    std::string lastWorkerLine;  // the job's end, to announce
    bool stopAsked = false;      // Stop was pressed in the job that runs
    int logCounter = 0;
    std::vector<std::string> heldDrops;  // dropped during a job, taken after it
    JobProgress progress;
    HFONT dialogFont = nullptr;
    HFONT editFont = nullptr;
    HFONT logFont = nullptr;
    HFONT panelFont = nullptr;  // none at the start DPI: the panel draws in the system font
    HICON icon = nullptr;
    HMENU optionsMenu = nullptr;  // destroyed with the window
    bool sendToPresent = false;   // both found anew each time the menu opens
    bool fileTypePresent = false;
    TargetOpener openTarget = OpenWithShell;
    SystemDesktopSignals systemSignals;
    DesktopSignals* signals = &systemSignals;
    // Registered by name: the taskbar sends it when the window's button exists.
    const UINT taskbarButtonCreated = ::RegisterWindowMessageA("TaskbarButtonCreated");

    CButton goButton, okButton, cipherButton, decipherButton;
    CWnd statusGroup, siteText, promptText;
    CBalloonEdit passwordEdit, confirmEdit, singleEdit;
    CLogListBox logList;
    CProgressPanel progressPanel;
    CAnnouncer announcer;

    // A call of the worker on its way to the window's thread.
    struct WorkerCall {
        enum What { kLogLine, kReportLine, kPrompt } what;
        std::string text;
        ReportKind kind;
    };
    void PassToWindow(WorkerCall call);
    void TakeWorkerCalls();
    // due: the progress timer's turn, whatever the time since the last.
    void ShowWaitingPrompt(bool due);
    static constexpr ULONGLONG kPromptMilliseconds = 100;
    std::string waitingPrompt;  // the worker's latest file name, not yet shown
    ULONGLONG promptShownAt = 0;

    Win32FileSystem fileSystem;
    Mailbox<WorkerCall> workerCalls{256};  // before the worker, which uses it
    WorkerThread worker{fileSystem};
};
