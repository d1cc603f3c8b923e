// The window layer under Wine: message tables and their order along the
// class chain, subclassed controls that keep their own behaviour, handlers
// that fail without taking the window down, owner-draw reflection, and
// dialogs run from a template.
#include <gtest/gtest.h>
#include <windows.h>

#include <stdexcept>

#include "platform/button.h"
#include "platform/dialog.h"
#include "platform/font_description.h"
#include "platform/gdi_holders.h"
#include "platform/message_table.h"
#include "platform/wnd.h"
#include "res/resource.h"
#include "tests/wine/window_harness.h"

namespace {

const UINT kAsk = WM_APP + 10;
const UINT kThrow = WM_APP + 11;

class BaseWindow : public TestHost {
  public:
    int baseCommands = 0;

  protected:
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override {
        static constexpr MessageEntry<BaseWindow> kMessages[] = {
            OnMessage(kAsk, &BaseWindow::OnAsk),
            OnCommand(7, &BaseWindow::OnSeven),
        };
        return DispatchMessageTable(this, kMessages, message, wParam, lParam, result) ||
               TestHost::HandleMessage(message, wParam, lParam, result);
    }

  private:
    LRESULT OnAsk(WPARAM wParam, LPARAM) { return 1000 + static_cast<LRESULT>(wParam); }
    void OnSeven() { ++baseCommands; }
};

class DerivedWindow : public BaseWindow {
  public:
    int clicks = 0;
    int doubleClicks = 0;

  protected:
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override {
        static constexpr MessageEntry<DerivedWindow> kMessages[] = {
            OnCommand(8, &DerivedWindow::OnEightClicked),
            OnCommand(8, &DerivedWindow::OnEightDoubleClicked, LBN_DBLCLK),
            OnMessage(kThrow, &DerivedWindow::OnThrow),
        };
        return DispatchMessageTable(this, kMessages, message, wParam, lParam, result) ||
               BaseWindow::HandleMessage(message, wParam, lParam, result);
    }

  private:
    void OnEightClicked() { ++clicks; }
    void OnEightDoubleClicked() { ++doubleClicks; }
    LRESULT OnThrow(WPARAM, LPARAM) { throw std::runtime_error("handler failed"); }
};

TEST(MessageTable, HandlersAreFoundByMessageAndByCommandIdAndCode) {
    DerivedWindow window;
    EXPECT_EQ(1005, window.SendMessage(kAsk, 5));  // from the base class's table
    window.SendMessage(WM_COMMAND, MAKEWPARAM(8, BN_CLICKED));
    window.SendMessage(WM_COMMAND, MAKEWPARAM(8, LBN_DBLCLK));
    window.SendMessage(WM_COMMAND, MAKEWPARAM(8, LBN_DBLCLK));
    window.SendMessage(WM_COMMAND, MAKEWPARAM(7, BN_CLICKED));
    window.SendMessage(WM_COMMAND, MAKEWPARAM(7, EN_CHANGE));  // another code: not a click
    EXPECT_EQ(1, window.clicks);
    EXPECT_EQ(2, window.doubleClicks);
    EXPECT_EQ(1, window.baseCommands);
    // Commands that no table names reach the host's own recorder.
    ASSERT_EQ(1u, window.commands.size());
    EXPECT_EQ(7, window.commands[0].id);
    EXPECT_EQ(EN_CHANGE, window.commands[0].code);
}

TEST(MessageTable, AFailingHandlerDoesNotEscapeTheWindowProcedure) {
    DerivedWindow window;
    EXPECT_EQ(0, window.SendMessage(kThrow));
    EXPECT_EQ(1001, window.SendMessage(kAsk, 1));  // still alive and answering
}

// A subclassed edit control that counts the characters it sees and passes
// them on; while handling one it asks its own window something.
class CountingEdit : public CWnd {
  public:
    int characters = 0;

  protected:
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override {
        static constexpr MessageEntry<CountingEdit> kMessages[] = {
            OnMessage(WM_CHAR, &CountingEdit::OnChar),
        };
        return DispatchMessageTable(this, kMessages, message, wParam, lParam, result) ||
               CWnd::HandleMessage(message, wParam, lParam, result);
    }

  private:
    LRESULT OnChar(WPARAM, LPARAM) {
        ++characters;
        SendMessage(WM_GETTEXTLENGTH);  // a nested message must not become the default's
        return Default();
    }
};

TEST(Subclassing, TheControlKeepsItsOwnBehaviourAndGetsItBackOnDetach) {
    TestHost host;
    const HWND edit = host.AddControl("EDIT", ES_AUTOHSCROLL, {10, 10, 200, 30}, 100);
    {
        CountingEdit counting;
        ASSERT_TRUE(counting.SubclassWindow(edit));
        EXPECT_EQ(&counting, CWnd::FromHandle(edit));
        EXPECT_FALSE(CountingEdit().SubclassWindow(edit));  // one object per window
        SendMessageA(edit, WM_CHAR, 'a', 0);
        SendMessageA(edit, WM_CHAR, 'b', 0);
        EXPECT_EQ(2, counting.characters);
        EXPECT_EQ("ab", counting.GetWindowText());
    }
    // The object is gone; the edit works on its own.
    EXPECT_EQ(nullptr, CWnd::FromHandle(edit));
    SendMessageA(edit, WM_CHAR, 'c', 0);
    char text[16] = {};
    GetWindowTextA(edit, text, sizeof text);
    EXPECT_STREQ("abc", text);
}

TEST(Subclassing, DestroyingTheWindowDetachesTheObject) {
    TestHost host;
    host.AddControl("EDIT", 0, {0, 0, 50, 20}, 100);
    CountingEdit counting;
    ASSERT_TRUE(counting.SubclassDlgItem(100, host));
    EXPECT_TRUE(counting.DestroyWindow());
    EXPECT_EQ(nullptr, counting.GetSafeHwnd());
}

class CountingButton : public CButton {
  public:
    int draws = 0;

  protected:
    void DrawItem(DRAWITEMSTRUCT* drawInfo) override {
        ++draws;
        FillRect(drawInfo->hDC, &drawInfo->rcItem,
                 static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    }
};

TEST(OwnerDraw, TheParentsDrawItemReachesTheControlsOwnClass) {
    TestHost host;
    CountingButton button;
    ASSERT_TRUE(
        button.SubclassWindow(host.AddControl("BUTTON", BS_OWNERDRAW, {10, 10, 60, 40}, 101)));
    button.Invalidate();
    button.UpdateWindow();
    EXPECT_GT(button.draws, 0);
    const ClientPixels pixels(button.GetSafeHwnd());
    EXPECT_EQ(RGB(0, 0, 0), pixels.At(pixels.width / 2, pixels.height / 2));
}

// A dialog on the message template that answers a private message and adds
// to the dialog manager's handling of another.
class AskingDialog : public CDialog {
  public:
    AskingDialog() : CDialog(IDD_MESSAGE) {}
    bool initialised = false;
    int titles = 0;
    CWnd copyButton;

  protected:
    bool OnInitDialog() override {
        initialised = CDialog::OnInitDialog();
        return initialised;
    }
    void DoDataExchange() override { BindControl(IDC_COPY_BUTTON, copyButton); }
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override {
        static constexpr MessageEntry<AskingDialog> kMessages[] = {
            OnMessage(kAsk, &AskingDialog::OnAsk),
            OnMessage(WM_SETTEXT, &AskingDialog::OnSetText),
        };
        return DispatchMessageTable(this, kMessages, message, wParam, lParam, result) ||
               CDialog::HandleMessage(message, wParam, lParam, result);
    }

  private:
    LRESULT OnAsk(WPARAM wParam, LPARAM) { return 7000 + static_cast<LRESULT>(wParam); }
    LRESULT OnSetText(WPARAM, LPARAM) {
        ++titles;
        return Default();  // the dialog manager still sets the title
    }
};

// Drawing resources go back in the reverse order they were taken: the font
// made for a drawing is deselected, then deleted.
TEST(GdiHolders, GiveBackInTheReverseOrder) {
    const HDC dc = CreateCompatibleDC(nullptr);
    const HGDIOBJ before = GetCurrentObject(dc, OBJ_FONT);
    HGDIOBJ made = nullptr;
    {
        LOGFONTA description = DescribeFont(nullptr);
        const GdiObject font(CreateFontIndirectA(&description));
        made = font.Get();
        const SelectedObject selected(dc, made);
        EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), made);
    }
    EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), before);
    EXPECT_EQ(GetObjectType(made), 0u);  // a font still selected would not go
    DeleteDC(dc);
}

TEST(Dialog, RunsFromItsTemplateBindsItsControlsAndReturnsResults) {
    AskingDialog dialog;
    const INT_PTR result = RunModalWith(dialog, [&](HWND hwnd) {
        EXPECT_TRUE(dialog.initialised);
        EXPECT_EQ(GetDlgItem(hwnd, IDC_COPY_BUTTON), dialog.copyButton.GetSafeHwnd());
        EXPECT_EQ(&dialog.copyButton, CWnd::FromHandle(GetDlgItem(hwnd, IDC_COPY_BUTTON)));
        EXPECT_EQ(7042, SendMessageA(hwnd, kAsk, 42, 0));
        SetWindowTextA(hwnd, "renamed");
        EXPECT_EQ(1, dialog.titles);
        char title[32] = {};
        GetWindowTextA(hwnd, title, sizeof title);
        EXPECT_STREQ("renamed", title);
        dialog.EndDialog(1234);
    });
    EXPECT_EQ(1234, result);
    // The window is gone and the objects are free again.
    EXPECT_EQ(nullptr, dialog.GetSafeHwnd());
    EXPECT_EQ(nullptr, dialog.copyButton.GetSafeHwnd());
}

}  // namespace
