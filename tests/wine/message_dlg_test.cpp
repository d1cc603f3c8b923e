// The message dialog under Wine: it shows its text read-only, labels its
// buttons from the text table, and COPY puts the whole text on the clipboard.
#include "ui/message_dlg.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "lang/text_table.h"
#include "res/resource.h"
#include "tests/wine/window_harness.h"

namespace {

std::string ClipboardText() {
    if (!OpenClipboard(nullptr)) return "<clipboard busy>";
    std::string text = "<no text>";
    if (const HANDLE data = GetClipboardData(CF_TEXT)) {
        if (const char* chars = static_cast<const char*>(GlobalLock(data))) {
            text = chars;
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

void SetClipboardText(const std::string& text) {
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    const HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    memcpy(GlobalLock(memory), text.c_str(), text.size() + 1);
    GlobalUnlock(memory);
    SetClipboardData(CF_TEXT, memory);
    CloseClipboard();
}

std::string ItemText(HWND dialog, int id) {
    char text[4096] = {};
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

LOGFONTA FontOf(HWND control) {
    const auto font = reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0));
    LOGFONTA description = {};
    if (!font || !GetObjectA(font, sizeof description, &description))
        lstrcpyA(description.lfFaceName, "<no font>");
    return description;
}

std::string FaceOf(HWND control) { return FontOf(control).lfFaceName; }

void ClickCopy(HWND dialog) { SendDlgItemMessageA(dialog, IDC_COPY_BUTTON, BM_CLICK, 0, 0); }

class MessageDlgTest : public ::testing::Test {
  protected:
    void SetUp() override {
        Texts() = TextTable();
        Texts().SetDefaults();
    }
};

TEST_F(MessageDlgTest, ShowsItsTextWithTheButtonsLabelledFromTheTable) {
    CMessageDlg dialog;
    dialog.text = "error : the file could not be opened : C:\\data\\a.txt";
    RunModalWith(dialog, [&](HWND hwnd) {
        EXPECT_EQ(dialog.text, ItemText(hwnd, IDC_MESSAGE_TEXT));
        // "button_text_copy" has no compiled-in text: the key shows.
        EXPECT_EQ("button_text_copy", ItemText(hwnd, IDC_COPY_BUTTON));
        EXPECT_EQ("OK", ItemText(hwnd, IDOK));
        EXPECT_EQ(GetDlgItem(hwnd, IDOK), GetFocus());
        char caption[64] = {};
        GetWindowTextA(hwnd, caption, sizeof caption);
        EXPECT_STREQ("Tarnu Message", caption);
    });
}

// Also after a move to a monitor at 150 % and back, where the controls and
// their font are scaled.
TEST_F(MessageDlgTest, ControlsTakeTheFaceNamedByTheTable) {
    Texts().SetText("font_name", "Courier New");
    Texts().SetText("button_text_copy", "Copy all");
    CMessageDlg dialog;
    RunModalWith(dialog, [&](HWND hwnd) {
        EXPECT_EQ("Copy all", ItemText(hwnd, IDC_COPY_BUTTON));
        const RECT okPlace = PlaceOf(GetDlgItem(hwnd, IDOK));
        const int height = FontOf(GetDlgItem(hwnd, IDOK)).lfHeight;
        int previous = 96;
        for (int dpi : {96, 144, 96}) {
            SCOPED_TRACE(dpi);
            SendDpiChange(hwnd, previous, dpi);
            previous = dpi;
            for (int id : {IDC_COPY_BUTTON, IDC_MESSAGE_TEXT, IDOK}) {
                EXPECT_EQ("Courier New", FaceOf(GetDlgItem(hwnd, id))) << id;
                EXPECT_EQ(MulDiv(height, dpi, 96), FontOf(GetDlgItem(hwnd, id)).lfHeight) << id;
            }
            EXPECT_TRUE(IsScaledPlace(PlaceOf(GetDlgItem(hwnd, IDOK)), okPlace, 96, dpi));
        }
        EXPECT_NE("Courier New", FaceOf(hwnd));  // the dialog keeps its own
    });
}

TEST_F(MessageDlgTest, CopyPutsTheWholeTextOnTheClipboard) {
    CMessageDlg dialog;
    for (int line = 0; line < 60; ++line) {
        dialog.text += "line " + std::to_string(line) + " of a text taller than the box\r\n";
    }
    SetClipboardText("stale");
    RunModalWith(dialog, [&](HWND hwnd) {
        ClickCopy(hwnd);
        EXPECT_EQ(dialog.text, ClipboardText());
        // The box looks as before: same text, nothing left selected.
        EXPECT_EQ(dialog.text, ItemText(hwnd, IDC_MESSAGE_TEXT));
        DWORD start = 0, end = 0;
        SendDlgItemMessageA(hwnd, IDC_MESSAGE_TEXT, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                            reinterpret_cast<LPARAM>(&end));
        EXPECT_EQ(start, end);
    });
}

TEST_F(MessageDlgTest, CopyOfAnEmptyTextLeavesAnEmptyText) {
    CMessageDlg dialog;
    SetClipboardText("stale");
    RunModalWith(dialog, [&](HWND hwnd) {
        EXPECT_EQ("", ItemText(hwnd, IDC_MESSAGE_TEXT));
        ClickCopy(hwnd);
        EXPECT_EQ("", ClipboardText());
    });
}

TEST_F(MessageDlgTest, TypingIntoTheTextChangesNothing) {
    CMessageDlg dialog;
    dialog.text = "read only";
    RunModalWith(dialog, [&](HWND hwnd) {
        const HWND edit = GetDlgItem(hwnd, IDC_MESSAGE_TEXT);
        SendMessageA(edit, EM_SETSEL, 0, -1);
        SendMessageA(edit, WM_CHAR, 'x', 0);
        SendMessageA(edit, WM_KEYDOWN, VK_DELETE, 0);
        EXPECT_EQ("read only", ItemText(hwnd, IDC_MESSAGE_TEXT));
    });
}

TEST_F(MessageDlgTest, OkAndTheCloseBoxEndTheDialog) {
    CMessageDlg dialog;
    EXPECT_EQ(IDOK, RunModalWith(dialog, [](HWND hwnd) {
                  SendDlgItemMessageA(hwnd, IDOK, BM_CLICK, 0, 0);
              }));
    EXPECT_EQ(IDCANCEL,
              RunModalWith(dialog, [](HWND hwnd) { SendMessageA(hwnd, WM_CLOSE, 0, 0); }));
}

}  // namespace
