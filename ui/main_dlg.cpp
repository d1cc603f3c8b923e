// CMainDlg: start-up, layout, fonts and the end of the program.
#include "ui/main_dlg.h"

#include <shellapi.h>

#include "lang/language_file.h"
#include "platform/font_description.h"
#include "platform/gdi_holders.h"
#include "platform/message_table.h"
#include "platform/program_paths.h"
#include "platform/window_dpi.h"
#include "res/resource.h"
#include "ui/app_messages.h"
#include "ui/language_dlg.h"
#include "ui/text_cache.h"
#include "ui/version_text.h"

namespace {

// The icon's own image of the size the display asks for, not a scaled one.
HICON LoadProgramIcon(int widthMetric, int heightMetric) {
    return static_cast<HICON>(::LoadImageA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_TARNU),
                                           IMAGE_ICON, ::GetSystemMetrics(widthMetric),
                                           ::GetSystemMetrics(heightMetric), LR_SHARED));
}

}  // namespace

CMainDlg::CMainDlg() : CDialog(IDD_MAIN) { icon = LoadProgramIcon(SM_CXICON, SM_CYICON); }

// The worker may still be finishing a file: it is told to quit and waited
// for, so its partial output is removed before the program ends. The
// mailbox is closed first, so it can never wait for room on this thread.
CMainDlg::~CMainDlg() {
    worker.RequestQuit();
    workerCalls.Close();
    worker.Join();
}

void CMainDlg::DoDataExchange() {
    BindControl(IDC_LOG_LIST, logList);
    BindControl(IDC_GO_BUTTON, goButton);
    BindControl(IDC_STATUS_GROUP, statusGroup);
    BindControl(IDC_SITE_TEXT, siteText);
    BindControl(IDC_PASSWORD_EDIT, passwordEdit);
    BindControl(IDC_CONFIRM_EDIT, confirmEdit);
    BindControl(IDC_SINGLE_EDIT, singleEdit);
    BindControl(IDC_OK_BUTTON, okButton);
    BindControl(IDC_PROMPT_TEXT, promptText);
    BindControl(IDC_CIPHER_BUTTON, cipherButton);
    BindControl(IDC_DECIPHER_BUTTON, decipherButton);
    BindControl(IDC_ANNOUNCE_TEXT, announcer);
}

bool CMainDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    SetIcon(icon, true);
    SetIcon(LoadProgramIcon(SM_CXSMICON, SM_CYSMICON), false);
    ReadPaths();
    CreateProgressPanel();  // before the layout is measured, which places it too
    MeasureLayout();
    StartWorker();
    SetLayout(kHeightCompact);
    logList.SendMessage(LB_RESETCONTENT);
    running = false;
    settings = LoadSettings(kSettingsKeyPath);
    const std::string chosenPath = ChooseLanguage();
    ShowPasswordBoxes();
    ApplyPasswordMask(settings.passwordMask != 0);
    FocusPasswordBox();
    versionText = ReadVersionText(programPath);
    LoadTexts(chosenPath);
    RetireChosenLanguage(chosenPath);
    ShowIdleTitle();
    BuildOptionsMenu();
    SetControlTexts();
    CreateFonts();
    mode = kJobEncrypt;
    ::DragAcceptFiles(GetSafeHwnd(), TRUE);
    // Run as administrator, the window would not hear the taskbar otherwise.
    ::ChangeWindowMessageFilterEx(GetSafeHwnd(), taskbarButtonCreated, MSGFLT_ALLOW, nullptr);
    TakeCommandLine();
    return false;  // the focus is set above
}

void CMainDlg::ReadPaths() {
    const ProgramPaths paths = ReadProgramPaths();
    programPath = paths.programPath;
    programFolder = paths.programFolder;
    programFileName = paths.programFileName;
    systemDirectory = paths.systemDirectory;
    windowsDirectory = paths.windowsDirectory;
    systemDrive = paths.systemDrive;
}

void CMainDlg::StartWorker() {
    worker.programPath = programPath;
    worker.programFolder = programFolder;
    worker.systemDrive = systemDrive;
    worker.systemDirectory = systemDirectory;
    worker.windowsDirectory = windowsDirectory;
    worker.Start(*this);
}

void CMainDlg::CreateProgressPanel() {
    CWnd place = GetDlgItem(IDC_PROGRESS_PLACE);
    RECT rect = place.GetWindowRect();
    ScreenToClient(&rect);
    progressPanel.Create(WS_CHILD, rect, this, IDC_PROGRESS_PLACE);
}

// Runs at every start; without language files in the folder it ends unseen
// and the texts come from the defaults and the cache.
std::string CMainDlg::ChooseLanguage() {
    CLanguageDlg chooser(this);
    chooser.folder = programFolder;
    chooser.DoModal();
    return chooser.chosenPath;
}

// Once loaded, the file has done its work: its texts live on in the cache.
// A file that stays put only brings the chooser back; start-up goes on.
void CMainDlg::RetireChosenLanguage(const std::string& chosenPath) {
    if (!chosenPath.empty() && !RetireLanguageFile(fileSystem, chosenPath))
        ReportRetireFailure(GetSafeHwnd(), chosenPath);
}

void CMainDlg::LoadTexts(const std::string& chosenPath) {
    LoadTextTable(Texts(), kTextCacheKeyPath, fileSystem, chosenPath);
}

void CMainDlg::SetControlTexts() {
    const TextTable& texts = Texts();
    cipherButton.SetWindowText(texts.LookupText("button_cipher"));
    decipherButton.SetWindowText(texts.LookupText("button_decipher"));
    promptText.SetWindowText(texts.LookupText("please_input_password"));
    siteText.SetWindowText(texts.LookupText("tarnu_site"));
    statusGroup.SetWindowText(texts.LookupText("status_run"));
    okButton.SetWindowText(texts.LookupText("button_okay"));
    goButton.SetWindowText(texts.LookupText("button_tarnu"));
    // Names for screen readers, which keep them through a job.
    GetDlgItem(IDC_SINGLE_LABEL).SetWindowText(texts.LookupText("label_password"));
    GetDlgItem(IDC_PASSWORD_LABEL).SetWindowText(texts.LookupText("label_password"));
    GetDlgItem(IDC_CONFIRM_LABEL).SetWindowText(texts.LookupText("label_password_again"));
    GetDlgItem(IDC_LOG_LABEL).SetWindowText(texts.LookupText("label_log"));
}

// The template's font in the language's face, the password boxes' font, the
// log's (the template's own) and the progress panel's, all for the window's
// DPI. The log's rows are measured again in its new font.
void CMainDlg::CreateFonts() {
    const std::string face = Texts().LookupFontName();
    LOGFONTA description = templateFont;
    SetFaceName(&description, face);
    const HFONT oldFonts[] = {dialogFont, editFont, logFont, panelFont};
    dialogFont = CreateFontForDpi(description, startDpi, dpi);
    logFont = CreateFontForDpi(templateFont, startDpi, dpi);
    panelFont = dpi == startDpi ? nullptr : CreateFontForDpi(DescribeFont(nullptr), startDpi, dpi);
    editFont =
        ::CreateFontA(::MulDiv(kEditFontHeight, dpi, USER_DEFAULT_SCREEN_DPI), 0, 0, 0, FW_NORMAL,
                      FALSE, FALSE, FALSE, SHIFTJIS_CHARSET, OUT_STROKE_PRECIS, CLIP_STROKE_PRECIS,
                      DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face.c_str());
    SetFont(dialogFont);
    for (CWnd* control :
         {static_cast<CWnd*>(&cipherButton), static_cast<CWnd*>(&decipherButton), &promptText,
          static_cast<CWnd*>(&okButton), &siteText, static_cast<CWnd*>(&goButton), &statusGroup}) {
        control->SetFont(dialogFont);
    }
    for (CWnd* edit : {&singleEdit, &passwordEdit, &confirmEdit}) edit->SetFont(editFont);
    logList.SetFont(logFont);
    logList.MeasureRowsAgain();
    progressPanel.SetFont(panelFont);
    for (HFONT old : oldFonts)
        if (old) ::DeleteObject(old);
}

void CMainDlg::ShowIdleTitle() {
    SetWindowText(Texts().LookupText("tarnu_name") + " " + versionText + " - [" + programFolder +
                  "]");
}

// The window shows more or less of itself by its height alone; hidden
// one-unit frames in the template mark where it is cut. Their places, and
// every control's, are taken once, at the DPI the window starts at, and
// scaled from there.
void CMainDlg::MeasureLayout() {
    dpi = startDpi = WindowDpi(GetSafeHwnd());
    templateFont = DescribeFont(GetFont());
    controlPlaces.Take(GetSafeHwnd(), startDpi);
    const RECT client = GetClientRect(), window = GetWindowRect();
    layoutWidth = window.right - window.left;
    frameHeight = (window.bottom - window.top) - (client.bottom - client.top);
    for (WindowHeight kind : {kHeightCompact, kHeightWithLog, kHeightFull}) {
        RECT markerRect = GetDlgItem(MarkerOf(kind)).GetWindowRect();
        ScreenToClient(&markerRect);
        markerTops[kind - 1] = markerRect.top;
    }
}

int CMainDlg::MarkerOf(WindowHeight kind) {
    return kind == kHeightCompact   ? IDC_MARK_COMPACT
           : kind == kHeightWithLog ? IDC_MARK_LOG
                                    : IDC_MARK_FULL;
}

int CMainDlg::LayoutHeight(WindowHeight kind) const {
    return ::MulDiv(markerTops[kind - 1], dpi, startDpi);
}

// Only a new height resizes the window, and its frame is left as it is: under
// Wine a resize costs a job's start milliseconds, and a changed frame had the
// whole window drawn again.
void CMainDlg::SetLayout(WindowHeight kind) {
    layoutKind = kind;
    const RECT window = GetWindowRect();
    const int height = LayoutHeight(kind) + frameHeight;
    if (window.right - window.left != layoutWidth || window.bottom - window.top != height)
        SetWindowPos(nullptr, 0, 0, layoutWidth, height,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    HideCutControls();
}

// What the height cuts off is hidden, so that neither Tab nor Enter reaches
// it (Enter on a hidden OK would end the program); the focus leaves it.
// Controls and the cut are both where the present DPI puts them.
void CMainDlg::HideCutControls() {
    const HWND focus = ::GetFocus();
    bool focusCut = false;
    for (int id : {IDC_LOG_LIST, IDC_STATUS_GROUP, IDC_GO_BUTTON, IDC_OK_BUTTON, IDC_SITE_TEXT}) {
        CWnd control = GetDlgItem(id);
        RECT rect = control.GetWindowRect();
        ScreenToClient(&rect);
        const bool cut = rect.top >= LayoutHeight(layoutKind);
        control.ShowWindow(cut ? SW_HIDE : SW_SHOW);
        focusCut = focusCut || (cut && control.GetSafeHwnd() == focus);
    }
    if (focusCut) SendMessage(WM_NEXTDLGCTL, 0, FALSE);
}

// On a monitor of another scale: the place Windows suggests, the controls
// scaled with it, fonts for the new DPI, and the height of the present layout
// measured anew.
LRESULT CMainDlg::OnDpiChanged(WPARAM wParam, LPARAM lParam) {
    dpi = HIWORD(wParam);
    MoveToSuggestedRect(GetSafeHwnd(), lParam);
    controlPlaces.PlaceAt(dpi);
    const RECT client = GetClientRect(), window = GetWindowRect();
    layoutWidth = window.right - window.left;
    frameHeight = (window.bottom - window.top) - (client.bottom - client.top);
    CreateFonts();
    SetLayout(layoutKind);
    return 0;
}

void CMainDlg::ShowPasswordBoxes() {
    const bool twoBoxes = settings.confirm != 0;
    singleEdit.ShowWindow(twoBoxes ? SW_HIDE : SW_SHOW);
    passwordEdit.ShowWindow(twoBoxes ? SW_SHOW : SW_HIDE);
    confirmEdit.ShowWindow(twoBoxes ? SW_SHOW : SW_HIDE);
}

void CMainDlg::ApplyPasswordMask(bool on) {
    for (CBalloonEdit* edit : {&singleEdit, &passwordEdit, &confirmEdit}) {
        edit->SetPasswordChar(on ? '*' : 0);
        edit->Invalidate(true);
        edit->UpdateWindow();
    }
}

// Every way out tells the worker to quit; the dialog does not wait here.
void CMainDlg::Quit(INT_PTR result) {
    worker.RequestQuit();
    EndDialog(result);
}

void CMainDlg::OnCancel() { Quit(IDCANCEL); }

bool CMainDlg::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    static constexpr MessageEntry<CMainDlg> kMessages[] = {
        OnMessage(WM_PAINT, &CMainDlg::OnPaint),
        OnMessage(WM_QUERYDRAGICON, &CMainDlg::OnQueryDragIcon),
        OnMessage(WM_TIMER, &CMainDlg::OnTimer),
        OnMessage(WM_DESTROY, &CMainDlg::OnDestroy),
        OnMessage(WM_DPICHANGED, &CMainDlg::OnDpiChanged),
        OnMessage(WM_DROPFILES, &CMainDlg::OnDropFiles),
        OnMessage(WM_JOB_FINISHED, &CMainDlg::OnJobFinished),
        OnMessage(WM_WORKER_CALLS, &CMainDlg::OnWorkerCalls),
        OnCommand(IDC_OK_BUTTON, &CMainDlg::OnOkButton),
        OnCommand(IDC_CIPHER_BUTTON, &CMainDlg::OnCipher),
        OnCommand(IDC_DECIPHER_BUTTON, &CMainDlg::OnDecipher),
        OnCommand(IDC_LOG_LIST, &CMainDlg::OnLogDoubleClick, LBN_DBLCLK),
        OnMessage(WM_CONTEXTMENU, &CMainDlg::OnContextMenu),
        OnMessage(WM_VKEYTOITEM, &CMainDlg::OnLogKey),
        OnMessage(WM_SYSCOMMAND, &CMainDlg::OnSysCommand),
        OnCommand(IDM_ZERO, &CMainDlg::OnToggleZero),
        OnCommand(IDM_RAND, &CMainDlg::OnToggleRand),
        OnCommand(IDM_READONLY, &CMainDlg::OnToggleReadOnly),
        OnCommand(IDM_AUTOEXIT, &CMainDlg::OnToggleAutoExit),
        OnCommand(IDM_PASSWORDHASH, &CMainDlg::OnToggleHashCheck),
        OnCommand(IDM_CONFIRM, &CMainDlg::OnToggleConfirm),
        OnCommand(IDM_PASSWORDMASK, &CMainDlg::OnTogglePasswordMask),
        OnCommand(IDM_GODIR, &CMainDlg::OpenProgramFolder),
        OnCommand(IDC_PROGRAM_ICON, &CMainDlg::OpenProgramFolder),
        OnCommand(IDM_SENDTO, &CMainDlg::OnToggleSendTo),
        OnCommand(IDM_EXT, &CMainDlg::OnToggleFileType),
        OnCommand(IDM_ABOUT, &CMainDlg::OnAbout),
        OnCommand(IDC_GO_BUTTON, &CMainDlg::OnSitePage),
    };
    if (message == taskbarButtonCreated) {
        signals->TaskbarButtonCreated(GetSafeHwnd());
        ShowTaskbarState();  // a restarted taskbar has forgotten it
    }
    return DispatchMessageTable(this, kMessages, message, wParam, lParam, result) ||
           CDialog::HandleMessage(message, wParam, lParam, result);
}

LRESULT CMainDlg::OnPaint(WPARAM, LPARAM) {
    if (!::IsIconic(GetSafeHwnd())) return Default();
    const PaintDc paint(GetSafeHwnd());
    const HDC dc = paint.Get();
    SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc));
    const RECT client = GetClientRect();
    const int x = (client.right - ::GetSystemMetrics(SM_CXICON) + 1) / 2;
    const int y = (client.bottom - ::GetSystemMetrics(SM_CYICON) + 1) / 2;
    ::DrawIcon(dc, x, y, icon);
    return 0;
}

LRESULT CMainDlg::OnQueryDragIcon(WPARAM, LPARAM) { return reinterpret_cast<LRESULT>(icon); }

// Settings and texts are kept for the next start; then the fonts go.
LRESULT CMainDlg::OnDestroy(WPARAM, LPARAM) {
    const LRESULT result = Default();
    SaveSettings(settings, Texts(), kSettingsKeyPath);
    SaveTextTable(Texts(), kTextCacheKeyPath);
    if (optionsMenu) ::DestroyMenu(optionsMenu);
    optionsMenu = nullptr;
    for (HFONT* font : {&dialogFont, &editFont, &logFont, &panelFont}) {
        if (*font) ::DeleteObject(*font);
        *font = nullptr;
    }
    return result;
}
