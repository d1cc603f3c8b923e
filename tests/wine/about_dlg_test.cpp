// The About dialog: its captions with and without a translator, the address
// each link hands to the shell, and the main window's ways into it and to the
// product's page.
#include "ui/about_dlg.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "lang/text_table.h"
#include "res/resource.h"
#include "res/version.h"
#include "tests/wine/main_dlg_probe.h"
#include "tests/wine/window_harness.h"
#include "ui/main_dlg.h"

namespace {

std::vector<std::string> opened;
void RecordTarget(HWND, const std::string& target) { opened.push_back(target); }

std::string TextOf(HWND dialog, int id) {
    char text[256] = {};
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

// Which addresses a click on each link opens, in link order.
std::vector<std::string> ClickEveryLink(HWND dialog) {
    opened.clear();
    for (int id : {IDC_TRANSLATOR_LINK, IDC_TRANSLATOR_MAIL_LINK, IDC_AUTHOR_LINK,
                   IDC_AUTHOR_MAIL_LINK, IDC_MAKER_LINK})
        SendMessageA(dialog, WM_COMMAND, id, 0);
    return opened;
}

bool IsTabStop(HWND dialog, int id) {
    return GetWindowLongA(GetDlgItem(dialog, id), GWL_STYLE) & WS_TABSTOP;
}

class AboutDlgTest : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const char* key : kTranslatorKeys) Texts().SetText(key, "");
        about.openTarget = RecordTarget;
    }
    void TearDown() override {
        for (const char* key : kTranslatorKeys) Texts().SetText(key, "");
    }

    static constexpr const char* kTranslatorKeys[] = {"tarnu_regionalization_by",
                                                      "tarnu_regionalization_by_url",
                                                      "tarnu_regionalization_by_email"};
    CAboutDlg about;
};

TEST_F(AboutDlgTest, WithoutATranslator) {
    about.versionLine = "the version line";
    RunModalWith(about, [&](HWND hwnd) {
        EXPECT_EQ(TextOf(hwnd, IDC_VERSION_TEXT), "the version line");
        EXPECT_EQ(TextOf(hwnd, IDC_TRANSLATOR_LINK), "No Registration");
        EXPECT_EQ(TextOf(hwnd, IDC_TRANSLATOR_MAIL_LINK), "");
        EXPECT_EQ(TextOf(hwnd, IDC_AUTHOR_LINK), kAuthorName);
        EXPECT_EQ(TextOf(hwnd, IDC_AUTHOR_MAIL_LINK), "Email");
        EXPECT_EQ(TextOf(hwnd, IDC_MAKER_LINK), "Quenmora");
        EXPECT_EQ(ClickEveryLink(hwnd),
                  (std::vector<std::string>{kAuthorPage, kAuthorMail, kMakerSite}));
        EXPECT_FALSE(IsTabStop(hwnd, IDC_TRANSLATOR_LINK));  // nothing behind them
        EXPECT_FALSE(IsTabStop(hwnd, IDC_TRANSLATOR_MAIL_LINK));
        EXPECT_TRUE(IsTabStop(hwnd, IDC_MAKER_LINK));
    });
}

// The template's own captions stay whatever the language; only the links
// and the OK button take texts.
TEST_F(AboutDlgTest, WithATranslator) {
    Texts().SetText("tarnu_regionalization_by", "Hana Translator");
    Texts().SetText("tarnu_regionalization_by_url", "https://hana.example.net/");
    Texts().SetText("button_okay", "Fine");
    RunModalWith(about, [&](HWND hwnd) {
        char caption[64] = {};
        GetWindowTextA(hwnd, caption, sizeof caption);
        EXPECT_STREQ(caption, "Tarnu About");
        EXPECT_EQ(TextOf(hwnd, IDC_TRANSLATOR_LINK), "Hana Translator");
        EXPECT_EQ(TextOf(hwnd, IDC_TRANSLATOR_MAIL_LINK), "Email");
        EXPECT_EQ(TextOf(hwnd, IDOK), "Fine");
        // No address given for the translator's mail: its link does nothing.
        EXPECT_EQ(ClickEveryLink(hwnd),
                  (std::vector<std::string>{"https://hana.example.net/", kAuthorPage, kAuthorMail,
                                            kMakerSite}));
        Texts().SetText("tarnu_regionalization_by_email", "hana@example.net");
        EXPECT_EQ(ClickEveryLink(hwnd)[1], "mailto:hana@example.net");
        EXPECT_TRUE(IsTabStop(hwnd, IDC_TRANSLATOR_LINK));
        EXPECT_FALSE(IsTabStop(hwnd, IDC_TRANSLATOR_MAIL_LINK));  // its address came later
    });
    Texts().SetText("button_okay", "OK");
}

// Keys as the dialog's message loop hands them on: a link takes Enter (not
// the OK button) and Space.
TEST_F(AboutDlgTest, EnterAndSpaceOpenTheFocusedLink) {
    RunModalWith(about, [&](HWND hwnd) {
        opened.clear();
        for (const WPARAM key : {VK_RETURN, VK_SPACE}) {
            const HWND link = GetDlgItem(hwnd, IDC_MAKER_LINK);
            SetFocus(link);
            for (const UINT message : {WM_KEYDOWN, WM_CHAR, WM_KEYUP}) {
                MSG msg = {link, message, key, 0, 0, {}};
                IsDialogMessageA(hwnd, &msg);
            }
        }
        EXPECT_EQ(opened, (std::vector<std::string>{kMakerSite, kMakerSite}));
        EXPECT_TRUE(IsWindowVisible(hwnd));
    });
}

// About runs its own modal loop; a timer reads it there and closes it. A
// named function: only such can be a CALLBACK (stdcall) on i686.
std::string versionLine;
void CALLBACK ReadAboutBox(HWND, UINT, UINT_PTR id, DWORD) {
    const HWND about = FindWindowA(nullptr, "Tarnu About");
    if (!about) return;
    KillTimer(nullptr, id);
    versionLine = TextOf(about, IDC_VERSION_TEXT);
    PostMessageA(about, WM_COMMAND, IDOK, 0);
}

// From the main window: the menu opens About with the version line, and the
// web-page button opens the site's address.
TEST(AboutFromMainWindow, VersionLineAndSiteButton) {
    CMainDlg dialog;
    MainDlgProbe::SetOpener(dialog, RecordTarget);
    RunModalWith(dialog, [&](HWND hwnd) {
        SetTimer(nullptr, 0, 100, ReadAboutBox);
        SendMessageA(hwnd, WM_COMMAND, IDM_ABOUT, 0);
        opened.clear();
        SendMessageA(hwnd, WM_COMMAND, IDC_GO_BUTTON, 0);
        EXPECT_EQ(opened, std::vector<std::string>{Texts().LookupText("tarnu_site_url")});
    });
    // 1.7.9.0 reads "1.79".
    const std::string version = std::to_string(TARNU_VERSION_MAJOR) + "." +
                                std::to_string(TARNU_VERSION_MINOR) +
                                std::to_string(TARNU_VERSION_PATCH);
    EXPECT_EQ(versionLine, Texts().LookupText("tarnu_name") + " version  " + version + "  Release");
}

}  // namespace
