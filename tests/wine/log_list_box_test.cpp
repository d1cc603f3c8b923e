// The log list under Wine: entries kept by serial and shown newest first,
// notice rows without an entry, rows that grow to whole lines for long texts,
// the colours and separators it draws (in high contrast, the scheme's alone,
// with a frame marking errors), its focus cue, also inside the main dialog's
// template.
#include "ui/log_list_box.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>

#include "platform/dialog.h"
#include "res/resource.h"
#include "tests/wine/contrast_scheme.h"
#include "tests/wine/window_harness.h"

namespace {

const DWORD kLogStyle = LBS_OWNERDRAWVARIABLE | LBS_HASSTRINGS | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT |
                        WS_VSCROLL | WS_BORDER;
const COLORREF kErrorColour = RGB(255, 50, 0);

std::string Words(int count) {
    std::string text;
    for (int i = 0; i < count; ++i) text += (i ? " word" : "word") + std::to_string(i);
    return text;
}

bool IsReddish(COLORREF c) {
    return GetRValue(c) > 200 && GetGValue(c) < 140 && GetBValue(c) < 100;
}

class LogListBoxTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(
            log.SubclassWindow(host.AddControl("LISTBOX", kLogStyle, {10, 10, 250, 230}, 1011)));
    }

    int RowHeight(int row) const {
        return static_cast<int>(log.SendMessage(LB_GETITEMHEIGHT, row));
    }

    RECT RowRect(int row) const {
        RECT rect = {};
        log.SendMessage(LB_GETITEMRECT, row, reinterpret_cast<LPARAM>(&rect));
        return rect;
    }

    // The height of one line, and of a text wrapped into the row's text
    // rectangle (the client width less a pixel on each side), in the list's font.
    int LineHeight() const { return WrappedHeight("A", 10000); }
    int WrappedHeight(const std::string& text, int width) const {
        const HDC dc = GetDC(log.GetSafeHwnd());
        const HGDIOBJ old = SelectObject(dc, log.GetFont());
        RECT rect = {0, 0, width, 0};
        DrawTextA(dc, text.c_str(), -1, &rect, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
        SelectObject(dc, old);
        ReleaseDC(log.GetSafeHwnd(), dc);
        return rect.bottom;
    }
    int TextWidth() const { return log.GetClientRect().right - 2; }

    // Whether the row's pixels above its separator are those of its string
    // drawn as the list draws a row: the string is then what the row shows.
    bool DrawsItsString(int row, COLORREF ink) {
        log.UpdateWindow();
        const ClientPixels drawn(log.GetSafeHwnd());
        const std::string text = log.GetText(row);
        RECT rect = RowRect(row);
        rect.bottom = std::min(rect.bottom - 1, static_cast<LONG>(drawn.height));
        EXPECT_LT(rect.top, rect.bottom);  // the row is in sight
        const HDC dc = GetDC(log.GetSafeHwnd());
        const HGDIOBJ old = SelectObject(dc, log.GetFont());
        FillRect(dc, &rect, GetSysColorBrush(COLOR_WINDOW));
        SetTextColor(dc, ink);
        SetBkColor(dc, GetSysColor(COLOR_WINDOW));
        RECT textRect = rect;
        textRect.left += 1;
        textRect.top += 1;
        textRect.right -= 1;
        DrawTextA(dc, text.c_str(), -1, &textRect, DT_LEFT | DT_TOP | DT_WORDBREAK | DT_NOPREFIX);
        SelectObject(dc, old);
        ReleaseDC(log.GetSafeHwnd(), dc);
        const ClientPixels redrawn(log.GetSafeHwnd());
        log.Invalidate();
        for (int y = rect.top; y < rect.bottom; ++y) {
            for (int x = rect.left; x < rect.right; ++x) {
                if (drawn.At(x, y) != redrawn.At(x, y)) return false;
            }
        }
        return true;
    }

    void DoubleClick(int row) {
        const RECT rect = RowRect(row);
        const LPARAM at = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
        log.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, at);
        log.SendMessage(WM_LBUTTONUP, 0, at);
        log.SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, at);
        log.SendMessage(WM_LBUTTONUP, 0, at);
    }

    TestHost host;
    CLogListBox log;
};

TEST_F(LogListBoxTest, EntriesAreKeptBySerialAndShownNewestFirst) {
    log.AddEntry("x", kReportError, 5);
    ASSERT_EQ(6u, log.Entries().size());
    EXPECT_EQ("x", log.Entries()[5].text);
    EXPECT_EQ(1, log.Entries()[5].kind);
    EXPECT_EQ(5, log.Entries()[5].serial);
    EXPECT_EQ("", log.Entries()[4].text);
    ASSERT_EQ(1, log.GetCount());
    EXPECT_EQ(&log.Entries()[5], log.EntryAtRow(0));

    log.AddEntry("first", kReportMessage, 1);
    // A later entry of the same number replaces the older one in every row.
    log.AddEntry("y", kReportMessage, 5);
    ASSERT_EQ(3, log.GetCount());
    EXPECT_EQ("y", log.EntryAtRow(0)->text);
    EXPECT_EQ("first", log.EntryAtRow(1)->text);
    EXPECT_EQ("y", log.EntryAtRow(2)->text);
    EXPECT_EQ(0, log.EntryAtRow(2)->kind);
    EXPECT_EQ(6u, log.Entries().size());

    log.AddEntry("negative", kReportMessage, -1);
    EXPECT_EQ(3, log.GetCount());
}

TEST_F(LogListBoxTest, NoticeRowsCarryNoEntry) {
    log.AddEntry("a", kReportMessage, 1);
    log.AddNotice("log max");
    log.AddEntry("b", kReportError, 0);
    ASSERT_EQ(3, log.GetCount());
    EXPECT_EQ("b", log.EntryAtRow(0)->text);
    EXPECT_EQ(nullptr, log.EntryAtRow(1));
    EXPECT_EQ("a", log.EntryAtRow(2)->text);
    EXPECT_EQ(nullptr, log.EntryAtRow(3));
    EXPECT_EQ(nullptr, log.EntryAtRow(-1));
}

TEST_F(LogListBoxTest, EmptyingTheListKeepsTheEntries) {
    log.AddEntry("a", kReportMessage, 1);
    log.AddNotice("first notice");
    log.ResetContent();
    EXPECT_EQ(0, log.GetCount());
    ASSERT_EQ(2u, log.Entries().size());
    EXPECT_EQ("a", log.Entries()[1].text);
    log.AddNotice("second notice");
    log.AddEntry("c", kReportMessage, 2);
    EXPECT_EQ("c", log.EntryAtRow(0)->text);
    EXPECT_EQ(nullptr, log.EntryAtRow(1));
}

// A screen reader reads a row's string: it is the text drawn, for entries,
// notices, a replaced entry and rows added after the list was emptied.
TEST_F(LogListBoxTest, EveryRowsStringIsTheTextItDraws) {
    log.AddEntry("first line", kReportMessage, 1);
    log.AddNotice("a notice");
    log.AddEntry("an error", kReportError, 2);
    log.AddEntry(Words(30), kReportMessage, 3);
    log.AddEntry("first line again", kReportMessage, 1);  // replaces row 4's text too
    const struct {
        const char* text;
        COLORREF ink;
    } rows[] = {{"first line again", 0},
                {nullptr, 0},
                {"an error", kErrorColour},
                {"a notice", 0},
                {"first line again", 0}};
    ASSERT_EQ(5, log.GetCount());
    for (int row = 0; row < 5; ++row) {
        SCOPED_TRACE(row);
        EXPECT_EQ(rows[row].text ? std::string(rows[row].text) : Words(30), log.GetText(row));
        EXPECT_TRUE(
            DrawsItsString(row, rows[row].ink ? rows[row].ink : GetSysColor(COLOR_WINDOWTEXT)));
    }
    EXPECT_FALSE(DrawsItsString(2, GetSysColor(COLOR_WINDOWTEXT)));  // the comparison sees ink

    log.ResetContent();
    log.AddEntry("refilled", kReportError, 4);
    EXPECT_EQ("refilled", log.GetText(0));
    EXPECT_TRUE(DrawsItsString(0, kErrorColour));
}

TEST_F(LogListBoxTest, DoubleClickSelectsTheRowUnderThePointer) {
    log.AddEntry(Words(40), kReportMessage, 1);  // a tall row at the bottom
    log.AddNotice("notice");
    log.AddEntry("short", kReportError, 2);
    for (int row = 0; row < 3; ++row) {
        SCOPED_TRACE(row);
        host.commands.clear();
        DoubleClick(row);
        ASSERT_FALSE(host.commands.empty());
        EXPECT_EQ(1011, host.commands.back().id);
        EXPECT_EQ(LBN_DBLCLK, host.commands.back().code);
        EXPECT_EQ(row, log.GetCurSel());
    }
    // What the owner then opens: the entry of a numbered row, nothing for a notice.
    EXPECT_EQ(1, log.EntryAtRow(2)->serial);
    EXPECT_EQ(nullptr, log.EntryAtRow(1));
    EXPECT_EQ(2, log.EntryAtRow(0)->serial);
}

// Rows are measured when they are added, against the list's width then, so
// each is checked while the list is too short to need its scroll bar.
TEST_F(LogListBoxTest, LongTextsGetWholeLinesThatHoldThemWrapped) {
    const int line = LineHeight();
    ASSERT_GT(line, 0);
    const std::string longText = Words(30);
    const int wrapped = WrappedHeight(longText, TextWidth());
    ASSERT_GT(wrapped, 2 * line);

    log.AddEntry("short", kReportMessage, 1);
    EXPECT_EQ(line, RowHeight(0));
    log.AddEntry(longText, kReportMessage, 2);
    const int tall = RowHeight(0);
    EXPECT_EQ(0, tall % line);
    EXPECT_GE(tall, wrapped + 2);         // inset by a pixel above and below
    EXPECT_LT(tall, wrapped + 2 + line);  // and no line more than that needs

    log.ResetContent();
    log.AddNotice(longText);
    EXPECT_EQ(tall, RowHeight(0));  // a notice wraps like an entry

    log.ResetContent();
    log.AddEntry(Words(2000), kReportError, 3);
    EXPECT_LE(RowHeight(0), 255);  // as high as a list box row can be
    EXPECT_GT(RowHeight(0), 255 - line);
}

TEST_F(LogListBoxTest, ErrorsAreDrawnRedAndEveryRowGetsADottedSeparator) {
    log.AddEntry("message line", kReportMessage, 1);
    log.AddEntry("error line", kReportError, 2);
    log.AddNotice("notice line");
    log.UpdateWindow();
    const ClientPixels pixels(log.GetSafeHwnd());
    const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
    for (int row = 0; row < 3; ++row) {
        SCOPED_TRACE(row);
        const RECT rect = RowRect(row);
        const bool error = row == 1;
        EXPECT_EQ(error, pixels.Count(rect, Is(kErrorColour)) > 5);
        RECT text = rect;
        text.bottom -= 1;
        if (!error) {
            EXPECT_EQ(0, pixels.Count(text, IsReddish));
        }
        EXPECT_GT(pixels.Count(text, IsDark) + pixels.Count(text, Is(kErrorColour)), 5);
        const RECT separator = {rect.left, rect.bottom - 1, rect.right, rect.bottom};
        const int dots = pixels.Count(separator, Is(shadow));
        EXPECT_GT(dots, rect.right / 4);
        EXPECT_LT(dots, rect.right * 3 / 4);
    }
}

TEST_F(LogListBoxTest, ASelectedErrorRowIsFilledRed) {
    log.AddEntry("message line", kReportMessage, 1);
    log.AddEntry("error line", kReportError, 2);
    log.SetCurSel(0);
    log.UpdateWindow();
    ClientPixels pixels(log.GetSafeHwnd());
    RECT rect = RowRect(0);
    const int area = (rect.right - rect.left) * (rect.bottom - rect.top);
    EXPECT_GT(pixels.Count(rect, Is(kErrorColour)), area / 10);
    EXPECT_GT(pixels.Count(rect, Is(GetSysColor(COLOR_HIGHLIGHT))), 0);

    log.SetCurSel(1);
    log.UpdateWindow();
    pixels = ClientPixels(log.GetSafeHwnd());
    rect = RowRect(1);
    EXPECT_EQ(0, pixels.Count(rect, Is(kErrorColour)));
    EXPECT_GT(pixels.Count(rect, Is(GetSysColor(COLOR_HIGHLIGHT))), area / 2);
}

// A frame in the text's colour marks an error row: its left column is all
// ink, where another row's is all background.
TEST_F(LogListBoxTest, HighContrastFramesErrorsAndDrawsOnlyTheSchemesColours) {
    const HighContrastScheme scheme;
    log.AddEntry("error line", kReportError, 1);
    log.AddNotice("notice line");
    log.AddEntry("selected error", kReportError, 2);
    log.SetCurSel(0);
    log.UpdateWindow();
    const ClientPixels pixels(log.GetSafeHwnd());
    const int leftColumnColours[] = {COLOR_HIGHLIGHTTEXT, COLOR_WINDOW, COLOR_WINDOWTEXT};
    for (int row = 0; row < 3; ++row) {
        const RECT rect = RowRect(row);
        EXPECT_EQ(rect.bottom - rect.top - 1, pixels.Count({0, rect.top, 1, rect.bottom - 1},
                                                           Is(GetSysColor(leftColumnColours[row]))))
            << row;
    }
    EXPECT_EQ(0, PixelsOutside(pixels, {COLOR_WINDOW, COLOR_WINDOWTEXT, COLOR_HIGHLIGHT,
                                        COLOR_HIGHLIGHTTEXT, COLOR_BTNSHADOW}));
}

// The focused row shows the cue, and it goes with the focus.
TEST_F(LogListBoxTest, TheFocusCueFollowsTheFocus) {
    log.AddEntry("one", kReportMessage, 1);
    log.UpdateWindow();
    const ClientPixels unfocused(log.GetSafeHwnd());
    log.SetFocus();
    log.UpdateWindow();
    EXPECT_GT(ClientPixels(log.GetSafeHwnd()).Differing(unfocused), 20);
    host.SetFocus();
    log.UpdateWindow();
    EXPECT_EQ(0, ClientPixels(log.GetSafeHwnd()).Differing(unfocused));
}

TEST_F(LogListBoxTest, AWrappedTextFillsTheLinesBelowItsFirst) {
    log.AddEntry(Words(30), kReportMessage, 1);
    log.UpdateWindow();
    const ClientPixels pixels(log.GetSafeHwnd());
    const RECT row = RowRect(0);
    const int line = LineHeight();
    const RECT thirdLine = {row.left, row.top + 1 + 2 * line, row.right, row.top + 1 + 3 * line};
    EXPECT_GT(pixels.Count(thirdLine, IsDark), 10);
}

// The template's list, bound in a dialog: measuring and drawing reach the
// control through the dialog.
class LogDialog : public CDialog {
  public:
    LogDialog() : CDialog(IDD_MAIN) {}
    CLogListBox log;

  protected:
    void DoDataExchange() override { BindControl(IDC_LOG_LIST, log); }
};

TEST(LogListBoxInMainTemplate, MeasuresAndDrawsThroughTheDialog) {
    LogDialog dialog;
    const INT_PTR result = RunModalWith(dialog, [&](HWND) {
        const LONG style = GetWindowLongA(dialog.log.GetSafeHwnd(), GWL_STYLE);
        EXPECT_TRUE(style & LBS_OWNERDRAWVARIABLE);
        EXPECT_TRUE(style & LBS_HASSTRINGS);
        EXPECT_FALSE(style & LBS_SORT);

        dialog.log.AddEntry(Words(40), kReportMessage, 1);
        dialog.log.AddEntry("short error", kReportError, 2);
        ASSERT_EQ(2, dialog.log.GetCount());
        const int shortRow = static_cast<int>(dialog.log.SendMessage(LB_GETITEMHEIGHT, 0));
        const int longRow = static_cast<int>(dialog.log.SendMessage(LB_GETITEMHEIGHT, 1));
        EXPECT_GE(longRow, 3 * shortRow);

        dialog.log.UpdateWindow();
        const ClientPixels pixels(dialog.log.GetSafeHwnd());
        const RECT all = {0, 0, pixels.width, pixels.height};
        EXPECT_GT(pixels.Count(all, Is(kErrorColour)), 5);
    });
    EXPECT_EQ(IDCANCEL, result);
}

}  // namespace
