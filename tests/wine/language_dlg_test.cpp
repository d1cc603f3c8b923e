// The language chooser on real files: which files it lists and by what name,
// what OK, a double click and Cancel leave behind, and its unseen end when
// there is nothing to offer.
#include "ui/language_dlg.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "lang/built_in_english.h"
#include "res/resource.h"
#include "tests/wine/temp_folder.h"
#include "tests/wine/window_harness.h"

namespace {

bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void Put(const std::string& path, const std::string& text) {
    WriteWholeFile(path, std::vector<uint8_t>(text.begin(), text.end()));
}

std::vector<std::string> Rows(HWND list) {
    std::vector<std::string> rows;
    const int count = int(SendMessageA(list, LB_GETCOUNT, 0, 0));
    for (int row = 0; row < count; ++row) {
        char text[256] = {};
        SendMessageA(list, LB_GETTEXT, row, reinterpret_cast<LPARAM>(text));
        rows.push_back(text);
    }
    return rows;
}

void Select(HWND dialog, const char* name) {
    const HWND list = GetDlgItem(dialog, IDC_LANGUAGE_LIST);
    const LRESULT row = SendMessageA(list, LB_FINDSTRINGEXACT, WPARAM(-1), LPARAM(name));
    ASSERT_GE(row, 0) << name;
    SendMessageA(list, LB_SETCURSEL, WPARAM(row), 0);
}

void DoubleClickRow(HWND dialog, int row) {
    const HWND list = GetDlgItem(dialog, IDC_LANGUAGE_LIST);
    SendMessageA(list, LB_SETCURSEL, WPARAM(row), 0);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_LANGUAGE_LIST, LBN_DBLCLK), LPARAM(list));
}

// The text of the next message box this thread shows; the box is closed.
class MessageBoxCloser {
  public:
    MessageBoxCloser() {
        text.clear();
        SetTimer(nullptr, 0, 50, OnTimer);
    }
    static inline std::string text, caption;

  private:
    static BOOL CALLBACK Look(HWND hwnd, LPARAM) {
        char className[16] = {};
        GetClassNameA(hwnd, className, sizeof className);
        if (std::string(className) != "#32770" || !IsWindowVisible(hwnd)) return TRUE;
        char found[1024] = {};
        if (!GetDlgItemTextA(hwnd, 0xFFFF, found, sizeof found)) return TRUE;
        text = found;
        GetWindowTextA(hwnd, found, sizeof found);
        caption = found;
        PostMessageA(hwnd, WM_COMMAND, IDOK, 0);
        return FALSE;
    }
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR id, DWORD) {
        EnumThreadWindows(GetCurrentThreadId(), Look, 0);
        if (!text.empty()) KillTimer(nullptr, id);
    }
};

class LanguageDlgTest : public ::testing::Test {
  protected:
    LanguageDlgTest() {
        const std::string any = dir / "";
        chooser.folder = any.substr(0, any.size() - 1);
    }

    TempFolder dir;
    CLanguageDlg chooser;
};

// Only a first "language=" line with a token names a file; the key must be
// exact, with nothing around it.
TEST_F(LanguageDlgTest, ListsFilesByTheirLanguageLine) {
    Put(dir / "a.zen", "// Alpha's texts\r\nlanguage=Alpha\r\nbutton_okay=OK\r\n");
    Put(dir / "blank.zen", "language = Blank\n");
    Put(dir / "quoted.zen", "language=\"Gamma Name\" // shown as it is quoted\n");
    Put(dir / "empty.zen", "language=// nothing here\nlanguage=Late\n");
    Put(dir / "last.zen", "tarnu_name=Tarnu\rlanguage=Echo");  // old line ends, none at the end
    Put(dir / "upper.zen", "Language=Upper\n");
    Put(dir / "none.zen", "button_okay=OK\n");
    Put(dir / "other.txt", "language=Other\n");
    RunModalWith(chooser, [&](HWND hwnd) {
        EXPECT_EQ(Rows(GetDlgItem(hwnd, IDC_LANGUAGE_LIST)),
                  (std::vector<std::string>{"Alpha", "Echo", "Gamma Name"}));
        // Its name for a screen reader is the prompt above it.
        EXPECT_EQ(LabelOf(GetDlgItem(hwnd, IDC_LANGUAGE_LIST)), "Please Choose a Language.");
    });
    EXPECT_EQ(chooser.chosenPath, "");
    EXPECT_TRUE(Exists(dir / "a.zen"));  // Cancel moves nothing
}

// A, C retired by the chooser; B is left for the caller to load and retire.
TEST_F(LanguageDlgTest, PickingRetiresTheOthers) {
    Put(dir / "a.zen", "language=A\n");
    Put(dir / "b.zen", "language=B\n");
    Put(dir / "c.zen", "language=C\n");
    const INT_PTR result = RunModalWith(chooser, [&](HWND hwnd) {
        Select(hwnd, "B");
        SendMessageA(hwnd, WM_COMMAND, IDOK, 0);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(chooser.chosenPath, dir / "b.zen");
    EXPECT_TRUE(Exists(dir / "b.zen"));
    for (const char* name : {"a.zen", "c.zen"}) {
        EXPECT_FALSE(Exists(dir / name)) << name;
        EXPECT_TRUE(Exists(dir / (std::string(name) + ".old"))) << name;
    }
}

// Rows of the same name each stand for their own file, whatever the sorting.
TEST_F(LanguageDlgTest, DoubleClickedTwinsEachGiveTheirOwnFile) {
    std::vector<std::string> chosen;
    for (int row = 0; row < 2; ++row) {
        Put(dir / "x.zen", "language=Same\n");
        Put(dir / "y.zen", "language=Same\n");
        CLanguageDlg again;
        again.folder = chooser.folder;
        EXPECT_EQ(RunModalWith(again, [&](HWND hwnd) { DoubleClickRow(hwnd, row); }), IDOK);
        chosen.push_back(again.chosenPath);
        DeleteFileA((dir / "x.zen.old").c_str());
        DeleteFileA((dir / "y.zen.old").c_str());
    }
    EXPECT_NE(chosen[0], chosen[1]);
    for (const std::string& path : chosen) {
        EXPECT_TRUE(path == dir / "x.zen" || path == dir / "y.zen") << path;
    }
}

// A folder in the way of a move is named to the user, in English while no
// language is loaded yet (the program's texts of last resort); the chooser
// stays open with the files moved so far, and Cancel still ends it with no
// choice. A retired copy left from before simply gives way.
TEST_F(LanguageDlgTest, AFailedMoveKeepsTheChooserOpen) {
    Put(dir / "a.zen", "language=A\n");
    Put(dir / "b.zen", "language=B\n");
    Put(dir / "c.zen", "language=C\n");
    Put(dir / "a.zen.old", "retired earlier\n");
    CreateDirectoryA((dir / "c.zen.old").c_str(), nullptr);
    Texts().SetFallback(&BuiltInEnglish());
    bool stillOpen = false;
    RunModalWith(chooser, [&](HWND hwnd) {
        MessageBoxCloser closer;
        Select(hwnd, "B");
        SendMessageA(hwnd, WM_COMMAND, IDOK, 0);
        stillOpen = IsWindowVisible(hwnd);
        EXPECT_EQ(chooser.chosenPath, dir / "b.zen");
    });
    Texts().SetFallback(nullptr);
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(MessageBoxCloser::caption, "Tarnu");
    EXPECT_EQ(MessageBoxCloser::text,
              "This language file could not be renamed to .old:\n" + dir / "c.zen");
    EXPECT_EQ(chooser.chosenPath, "");  // cancelled by the driver
    EXPECT_FALSE(Exists(dir / "a.zen"));
    EXPECT_TRUE(Exists(dir / "b.zen"));
    EXPECT_TRUE(Exists(dir / "c.zen"));
}

TEST_F(LanguageDlgTest, OkWithoutASelectionCancels) {
    Put(dir / "a.zen", "language=A\n");
    Put(dir / "b.zen", "language=B\n");
    const INT_PTR result =
        RunModalWith(chooser, [&](HWND hwnd) { SendMessageA(hwnd, WM_COMMAND, IDOK, 0); });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(chooser.chosenPath, "");
    EXPECT_TRUE(Exists(dir / "a.zen"));
    EXPECT_TRUE(Exists(dir / "b.zen"));
}

TEST_F(LanguageDlgTest, EndsUnseenWithNothingToOffer) {
    Put(dir / "none.zen", "button_okay=OK\n");
    bool shown = false;
    EXPECT_EQ(RunModalWith(chooser, [&](HWND) { shown = true; }), IDCANCEL);
    EXPECT_FALSE(shown);
    EXPECT_TRUE(Exists(dir / "none.zen"));
}

}  // namespace
