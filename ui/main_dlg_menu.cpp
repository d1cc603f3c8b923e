// CMainDlg: the options menu that opens on a right click or from the
// keyboard, and its commands.
// The options change in memory only; they reach the registry at the end.
#include <windows.h>

#include <string>

#include "res/resource.h"
#include "ui/main_dlg.h"

namespace {

struct MenuItem {
    UINT id;  // 0: a separator
    const char* key;
};

constexpr MenuItem kOptionsMenu[] = {
    {IDM_RAND, "menu_write_random"},
    {IDM_ZERO, "menu_write_zero"},
    {IDM_READONLY, "menu_write_readonly"},
    {0, nullptr},
    {IDM_GODIR, "menu_view_directory"},
    {IDM_SENDTO, "menu_sendto"},
    {IDM_EXT, "menu_ext"},
    {IDM_AUTOEXIT, "menu_auto_exit"},
    {0, nullptr},
    {IDM_CONFIRM, "menu_again_password"},
    {IDM_PASSWORDMASK, "menu_password_mask"},
    {IDM_PASSWORDHASH, "menu_password_hash"},
    {0, nullptr},
    {IDM_ABOUT, "menu_about"},
};

}  // namespace

void CMainDlg::BuildOptionsMenu() {
    if (optionsMenu) ::DestroyMenu(optionsMenu);
    optionsMenu = ::CreatePopupMenu();
    for (const MenuItem& item : kOptionsMenu) {
        if (item.id == 0) {
            ::AppendMenuA(optionsMenu, MF_SEPARATOR, 0, nullptr);
        } else {
            ::AppendMenuA(optionsMenu, MF_STRING, item.id, Texts().LookupText(item.key).c_str());
        }
    }
    AddSystemMenuItem();
}

// Alt+Space reaches the options as in other small utilities; built again,
// the item only takes the current text.
void CMainDlg::AddSystemMenuItem() {
    const HMENU systemMenu = ::GetSystemMenu(GetSafeHwnd(), FALSE);
    if (!systemMenu) return;
    const std::string text = Texts().LookupText("menu_options");
    if (::GetMenuState(systemMenu, IDM_SYSTEM_OPTIONS, MF_BYCOMMAND) == UINT(-1)) {
        ::AppendMenuA(systemMenu, MF_SEPARATOR, 0, nullptr);
        ::AppendMenuA(systemMenu, MF_STRING, IDM_SYSTEM_OPTIONS, text.c_str());
    } else {
        ::ModifyMenuA(systemMenu, IDM_SYSTEM_OPTIONS, MF_BYCOMMAND | MF_STRING, IDM_SYSTEM_OPTIONS,
                      text.c_str());
    }
}

LRESULT CMainDlg::OnSysCommand(WPARAM wParam, LPARAM) {
    if ((wParam & 0xFFF0) != IDM_SYSTEM_OPTIONS) return Default();
    return OnContextMenu(WPARAM(GetSafeHwnd()), MAKELPARAM(-1, -1));
}

// Check marks follow the settings; during a job the options are greyed, so
// a change cannot fall between the worker's copies of them. The folder and
// the About item stay usable.
void CMainDlg::UpdateOptionsMenu() {
    LookForShellItems();
    const struct {
        UINT id;
        bool on;
    } options[] = {
        {IDM_ZERO, settings.zero != 0},
        {IDM_RAND, settings.rand != 0},
        {IDM_CONFIRM, settings.confirm != 0},
        {IDM_PASSWORDMASK, settings.passwordMask != 0},
        {IDM_PASSWORDHASH, settings.hashCheck != 0},
        {IDM_READONLY, settings.writeReadOnly != 0},
        {IDM_SENDTO, sendToPresent},
        {IDM_EXT, fileTypePresent},
        {IDM_AUTOEXIT, settings.autoExit != 0},
    };
    for (const auto& option : options) {
        ::CheckMenuItem(optionsMenu, option.id,
                        MF_BYCOMMAND | (option.on ? MF_CHECKED : MF_UNCHECKED));
        ::EnableMenuItem(optionsMenu, option.id, MF_BYCOMMAND | (running ? MF_GRAYED : MF_ENABLED));
    }
}

// The lower-left corner of the focused control; the dialog's client corner
// when the focus is elsewhere.
POINT CMainDlg::KeyboardMenuPoint() const {
    const HWND dialog = GetSafeHwnd();
    const HWND focus = ::GetFocus();
    POINT point = {0, 0};
    if (focus && ::IsChild(dialog, focus)) {
        RECT rect;
        ::GetWindowRect(focus, &rect);
        point = {rect.left, rect.bottom};
    } else {
        ::ClientToScreen(dialog, &point);
    }
    return point;
}

LRESULT CMainDlg::OnContextMenu(WPARAM, LPARAM lParam) {
    if (!optionsMenu) return 0;
    UpdateOptionsMenu();
    POINT point = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    // From the keyboard the message carries no point; the menu opens below
    // the focused control, where the user is looking, not at the mouse.
    if (point.x == -1 && point.y == -1) point = KeyboardMenuPoint();
    ::TrackPopupMenu(optionsMenu, TPM_LEFTALIGN | TPM_RIGHTBUTTON, point.x, point.y, 0,
                     GetSafeHwnd(), nullptr);
    return 0;
}

void CMainDlg::OnToggleZero() { settings.zero = Toggled(settings.zero); }
void CMainDlg::OnToggleRand() { settings.rand = Toggled(settings.rand); }
void CMainDlg::OnToggleReadOnly() { settings.writeReadOnly = Toggled(settings.writeReadOnly); }
void CMainDlg::OnToggleAutoExit() { settings.autoExit = Toggled(settings.autoExit); }
void CMainDlg::OnToggleHashCheck() { settings.hashCheck = Toggled(settings.hashCheck); }

// The other layout's boxes come up with their own contents; nothing typed is
// carried across.
void CMainDlg::OnToggleConfirm() {
    settings.confirm = Toggled(settings.confirm);
    ShowPasswordBoxes();
}

void CMainDlg::OnTogglePasswordMask() {
    settings.passwordMask = Toggled(settings.passwordMask);
    ApplyPasswordMask(settings.passwordMask != 0);
}

// From the menu and from a click on the program's icon. A folder that cannot
// be shown is not worth a message.
void CMainDlg::OpenProgramFolder() { openTarget(GetSafeHwnd(), programFolder); }
