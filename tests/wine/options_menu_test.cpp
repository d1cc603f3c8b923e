// The options menu of the main window: its items in order with their texts,
// the toggles with their check marks and their effect on the password boxes,
// the greying during a job, and the options kept across a restart.
#include <gtest/gtest.h>

#include "lang/text_table.h"
#include "res/resource.h"
#include "tests/wine/main_dlg_probe.h"
#include "tests/wine/registry_sandbox.h"
#include "tests/wine/window_harness.h"
#include "ui/main_dlg.h"

namespace {

void Command(HWND hwnd, UINT id) { SendMessageA(hwnd, WM_COMMAND, id, 0); }

bool Checked(HMENU menu, UINT id) { return (GetMenuState(menu, id, MF_BYCOMMAND) & MF_CHECKED); }
bool Greyed(HMENU menu, UINT id) { return (GetMenuState(menu, id, MF_BYCOMMAND) & MF_GRAYED); }

std::string MenuText(HMENU menu, int position) {
    char text[256] = {};
    GetMenuStringA(menu, position, text, sizeof text, MF_BYPOSITION);
    return text;
}

struct Option {
    UINT id;
    uint32_t Settings::*field;
};

constexpr Option kToggles[] = {
    {IDM_ZERO, &Settings::zero},
    {IDM_RAND, &Settings::rand},
    {IDM_READONLY, &Settings::writeReadOnly},
    {IDM_AUTOEXIT, &Settings::autoExit},
    {IDM_PASSWORDHASH, &Settings::hashCheck},
    {IDM_CONFIRM, &Settings::confirm},
    {IDM_PASSWORDMASK, &Settings::passwordMask},
};

constexpr UINT kOptionItems[] = {IDM_ZERO,   IDM_RAND, IDM_CONFIRM,  IDM_PASSWORDMASK, IDM_READONLY,
                                 IDM_SENDTO, IDM_EXT,  IDM_AUTOEXIT, IDM_PASSWORDHASH};

class OptionsMenuTest : public ::testing::Test {
  protected:
    RegistrySandbox registry{kSettingsKeyPath};  // every start from the defaults
    CMainDlg dialog;
};

TEST_F(OptionsMenuTest, ItemsInOrderWithTheirTexts) {
    RunModalWith(dialog, [&](HWND) {
        const HMENU menu = MainDlgProbe::Menu(dialog);
        ASSERT_NE(menu, nullptr);
        const struct {
            UINT id;
            const char* key;
        } expected[] = {
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
        ASSERT_EQ(GetMenuItemCount(menu), int(std::size(expected)));
        for (int position = 0; position < int(std::size(expected)); ++position) {
            const auto& item = expected[position];
            if (item.id == 0) {
                EXPECT_TRUE(GetMenuState(menu, position, MF_BYPOSITION) & MF_SEPARATOR) << position;
                continue;
            }
            EXPECT_EQ(GetMenuItemID(menu, position), item.id) << position;
            EXPECT_EQ(MenuText(menu, position), Texts().LookupText(item.key)) << position;
        }
    });
}

// Each toggle flips its option and its check mark; a stored 2 counts as on
// and toggles to 0, then to 1.
TEST_F(OptionsMenuTest, TogglesFlipOptionsAndCheckMarks) {
    RunModalWith(dialog, [&](HWND hwnd) {
        Settings& settings = MainDlgProbe::SettingsOf(dialog);
        const HMENU menu = MainDlgProbe::Menu(dialog);
        for (const Option& option : kToggles) {
            settings.*option.field = 2;
            MainDlgProbe::UpdateMenu(dialog);
            EXPECT_TRUE(Checked(menu, option.id)) << option.id;
            Command(hwnd, option.id);
            EXPECT_EQ(settings.*option.field, 0u) << option.id;
            MainDlgProbe::UpdateMenu(dialog);
            EXPECT_FALSE(Checked(menu, option.id)) << option.id;
            Command(hwnd, option.id);
            EXPECT_EQ(settings.*option.field, 1u) << option.id;
        }
    });
}

// The options are greyed during a job but keep their marks; the folder and
// About items stay usable.
TEST_F(OptionsMenuTest, GreyedWhileAJobRuns) {
    RunModalWith(dialog, [&](HWND) {
        const HMENU menu = MainDlgProbe::Menu(dialog);
        MainDlgProbe::SetRunning(dialog, true);
        MainDlgProbe::UpdateMenu(dialog);
        for (UINT id : kOptionItems) EXPECT_TRUE(Greyed(menu, id)) << id;
        EXPECT_TRUE(Checked(menu, IDM_ZERO));
        EXPECT_FALSE(Checked(menu, IDM_AUTOEXIT));
        for (UINT id : {IDM_GODIR, IDM_ABOUT}) EXPECT_FALSE(Greyed(menu, id)) << id;
        MainDlgProbe::SetRunning(dialog, false);
        MainDlgProbe::UpdateMenu(dialog);
        for (UINT id : kOptionItems) EXPECT_FALSE(Greyed(menu, id)) << id;
    });
}

// Each layout keeps what was typed into its own boxes.
TEST_F(OptionsMenuTest, ConfirmSwapsTheBoxesAndMaskTheirCharacter) {
    RunModalWith(dialog, [&](HWND hwnd) {
        const HWND single = GetDlgItem(hwnd, IDC_SINGLE_EDIT);
        const HWND upper = GetDlgItem(hwnd, IDC_PASSWORD_EDIT);
        const HWND lower = GetDlgItem(hwnd, IDC_CONFIRM_EDIT);
        SetWindowTextA(upper, "upper");
        Command(hwnd, IDM_CONFIRM);
        EXPECT_TRUE(IsWindowVisible(single));
        EXPECT_FALSE(IsWindowVisible(upper));
        EXPECT_FALSE(IsWindowVisible(lower));
        char text[32] = {};
        GetWindowTextA(single, text, sizeof text);
        EXPECT_STREQ(text, "");
        Command(hwnd, IDM_CONFIRM);
        EXPECT_FALSE(IsWindowVisible(single));
        EXPECT_TRUE(IsWindowVisible(upper));
        EXPECT_TRUE(IsWindowVisible(lower));
        GetWindowTextA(upper, text, sizeof text);
        EXPECT_STREQ(text, "upper");

        for (HWND edit : {single, upper, lower})
            EXPECT_EQ(SendMessageA(edit, EM_GETPASSWORDCHAR, 0, 0), '*');
        Command(hwnd, IDM_PASSWORDMASK);
        for (HWND edit : {single, upper, lower})
            EXPECT_EQ(SendMessageA(edit, EM_GETPASSWORDCHAR, 0, 0), 0);
        Command(hwnd, IDM_PASSWORDMASK);
        for (HWND edit : {single, upper, lower})
            EXPECT_EQ(SendMessageA(edit, EM_GETPASSWORDCHAR, 0, 0), '*');
    });
}

// The menu runs its own loop; a timer reads it there and closes it. A named
// function: only such can be a CALLBACK (stdcall) on i686.
HMENU tracked;
bool zeroChecked, autoExitChecked;
void CALLBACK ReadMenuMarks(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    zeroChecked = Checked(tracked, IDM_ZERO);
    autoExitChecked = Checked(tracked, IDM_AUTOEXIT);
    EndMenu();
}

// A right click shows the menu with marks as the options stand.
TEST_F(OptionsMenuTest, RightClickShowsCurrentMarks) {
    RunModalWith(dialog, [&](HWND hwnd) {
        tracked = MainDlgProbe::Menu(dialog);
        MainDlgProbe::SettingsOf(dialog).zero = 0;
        MainDlgProbe::SettingsOf(dialog).autoExit = 1;
        zeroChecked = true;
        autoExitChecked = false;
        SetTimer(nullptr, 0, 100, ReadMenuMarks);
        SendMessageA(hwnd, WM_CONTEXTMENU, WPARAM(hwnd), MAKELPARAM(10, 10));
        EXPECT_FALSE(zeroChecked);
        EXPECT_TRUE(autoExitChecked);
    });
}

// The pop-up the timer found open and where it stood; none, empty.
HMENU popupMenu;
RECT popupRect;
void CALLBACK ReadMenuPlace(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    popupMenu = nullptr;
    popupRect = {};
    const HWND popup = FindWindowA("#32768", nullptr);
    if (popup && IsWindowVisible(popup)) {
        GetWindowRect(popup, &popupRect);
        popupMenu = HMENU(SendMessageA(popup, MN_GETHMENU, 0, 0));
    }
    EndMenu();
}

// Shift+F10 and the menu key, from every tab stop, the password boxes among
// them: the menu opens below the focused control, wherever the mouse is.
TEST_F(OptionsMenuTest, KeyboardOpensTheMenuAtTheFocusedControl) {
    RunModalWith(dialog, [&](HWND hwnd) {
        SetCursorPos(0, 0);
        const HWND first = GetNextDlgTabItem(hwnd, nullptr, FALSE);
        ASSERT_NE(first, nullptr);
        int stops = 0;
        HWND control = first;
        do {
            ++stops;
            SetFocus(control);
            RECT rect;
            GetWindowRect(control, &rect);
            // The point comes as a whole -1 or as two words of -1.
            for (LPARAM keyboard : {LPARAM(-1), LPARAM(MAKELPARAM(-1, -1))}) {
                SetTimer(nullptr, 0, 100, ReadMenuPlace);
                SendMessageA(control, WM_CONTEXTMENU, WPARAM(control), keyboard);
                EXPECT_EQ(popupMenu, MainDlgProbe::Menu(dialog)) << GetDlgCtrlID(control);
                EXPECT_NEAR(popupRect.left, rect.left, 2) << GetDlgCtrlID(control);
                EXPECT_NEAR(popupRect.top, rect.bottom, 2) << GetDlgCtrlID(control);
            }
            control = GetNextDlgTabItem(hwnd, control, FALSE);
        } while (control && control != first && stops < 20);
        EXPECT_GE(stops, 3);  // the password box, Cipher and Decipher at least
    });
}

// Alt+Space holds an item that opens the options menu.
TEST_F(OptionsMenuTest, SystemMenuItemOpensTheMenu) {
    RunModalWith(dialog, [&](HWND hwnd) {
        const HMENU systemMenu = GetSystemMenu(hwnd, FALSE);
        char text[256] = {};
        ASSERT_GT(GetMenuStringA(systemMenu, IDM_SYSTEM_OPTIONS, text, sizeof text, MF_BYCOMMAND),
                  0);
        EXPECT_EQ(text, Texts().LookupText("menu_options"));
        SetTimer(nullptr, 0, 100, ReadMenuPlace);
        SendMessageA(hwnd, WM_SYSCOMMAND, IDM_SYSTEM_OPTIONS, 0);
        EXPECT_EQ(popupMenu, MainDlgProbe::Menu(dialog));
    });
}

// The options come back on the next start, as the registry holds them.
TEST_F(OptionsMenuTest, OptionsSurviveARestart) {
    RunModalWith(dialog, [&](HWND hwnd) {
        for (UINT id : {IDM_ZERO, IDM_READONLY, IDM_AUTOEXIT, IDM_CONFIRM}) Command(hwnd, id);
    });
    EXPECT_EQ(GetRawValue(kSettingsKeyPath, "Zero").data, DwordBytes(0));
    EXPECT_EQ(GetRawValue(kSettingsKeyPath, "WriteReadOnly").data, DwordBytes(1));

    CMainDlg again;
    RunModalWith(again, [&](HWND hwnd) {
        const Settings& settings = MainDlgProbe::SettingsOf(again);
        EXPECT_EQ(settings.zero, 0u);
        EXPECT_EQ(settings.rand, 1u);
        EXPECT_EQ(settings.writeReadOnly, 1u);
        EXPECT_EQ(settings.autoExit, 1u);
        EXPECT_EQ(settings.confirm, 0u);
        EXPECT_TRUE(IsWindowVisible(GetDlgItem(hwnd, IDC_SINGLE_EDIT)));
        const HMENU menu = MainDlgProbe::Menu(again);
        MainDlgProbe::UpdateMenu(again);
        EXPECT_FALSE(Checked(menu, IDM_ZERO));
        EXPECT_TRUE(Checked(menu, IDM_READONLY));
        EXPECT_TRUE(Checked(menu, IDM_AUTOEXIT));
    });
}

}  // namespace
