// The progress panel as drawn under Wine: its pixels, read back from the
// window, show the fill boundary where the range puts it and the text in white
// over the filled part and in black over the rest; in high contrast, the
// scheme's colours alone.
#include "ui/progress_panel.h"

#include <gtest/gtest.h>
#include <oleacc.h>
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "tests/wine/contrast_scheme.h"
#include "tests/wine/window_harness.h"

namespace {

const int64_t kGiB = int64_t(1) << 30;

class ProgressPanelTest : public ::testing::Test {
  protected:
    void SetUp() override {
        // 200 x 20 client pixels inside the sunken edge.
        ASSERT_TRUE(panel.Create(WS_CHILD | WS_VISIBLE, {10, 10, 214, 34}, &host, 1016));
        const RECT client = panel.GetClientRect();
        ASSERT_EQ(200, client.right);
        ASSERT_EQ(20, client.bottom);
        filled = GetSysColor(COLOR_ACTIVECAPTION);
        empty = GetSysColor(COLOR_BTNHIGHLIGHT);
        ASSERT_NE(filled, empty);
    }

    ClientPixels Show(const char* text, int64_t start, int64_t position, int64_t end) {
        panel.SetWindowText(text);
        panel.SetProgress(start, position, end);
        return ClientPixels(panel.GetSafeHwnd());
    }

    // Where the filled part ends on a row without text: the first x that
    // shows the empty colour (the width when there is none).
    int FilledWidth(const ClientPixels& pixels) const {
        const int y = 1;
        int x = 0;
        while (x < pixels.width && pixels.At(x, y) == filled) ++x;
        for (int rest = x; rest < pixels.width; ++rest) {
            EXPECT_EQ(empty, pixels.At(rest, y)) << "x " << rest;
        }
        return x;
    }

    TestHost host;
    CProgressPanel panel;
    COLORREF filled = 0;
    COLORREF empty = 0;
};

TEST_F(ProgressPanelTest, FillEndsWhereTheRangePutsIt) {
    struct Case {
        int64_t start, position, end;
        int width;
    };
    const Case cases[] = {
        {0, 50, 100, 100},
        {0, 3, 7, 85},  // 85.7 pixels, truncated
        {0, 0, 0, 0},   // an empty range draws an empty bar
        {0, 0, 100, 0},
        {0, -5, 100, 0},  // before the start
        {10, 5, 100, 0},
        {0, 100, 100, 200},
        {0, 150, 100, 200},  // beyond the end: all filled, not wrapped or clipped short
        {0, 6 * kGiB, 8 * kGiB, 150},
        {5 * kGiB, 6 * kGiB, 9 * kGiB, 50},
        {0, 4 * kGiB + 1, 4 * kGiB + 2, 199},  // 32-bit values would be 1 of 2
        {0, INT64_MAX / 2, INT64_MAX, 99},     // just under half, in both builds
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.start << ", " << c.position << ", " << c.end);
        EXPECT_EQ(c.width, FilledWidth(Show("", c.start, c.position, c.end)));
    }
}

// Text is drawn smoothed, so its pixels are told by lightness: white text
// leaves light pixels and no dark ones, black text dark ones.
TEST_F(ProgressPanelTest, TextIsWhiteOverTheFillAndBlackOverTheRest) {
    const ClientPixels pixels = Show("8888888888", 0, 50, 100);
    EXPECT_EQ(100, FilledWidth(pixels));
    const RECT left = {0, 0, 100, pixels.height};
    const RECT right = {100, 0, pixels.width, pixels.height};
    // The text crosses the boundary: white on the left, black on the right.
    EXPECT_GT(pixels.Count(left, IsLight), 20);
    EXPECT_EQ(0, pixels.Count(left, IsDark));
    EXPECT_GT(pixels.Count(right, IsDark), 20);
}

TEST_F(ProgressPanelTest, MoreThanAHundredPercentIsAllFilledWithWhiteText) {
    const ClientPixels pixels = Show("150 %", 0, 150, 100);
    EXPECT_EQ(200, FilledWidth(pixels));
    const RECT all = {0, 0, pixels.width, pixels.height};
    EXPECT_GT(pixels.Count(all, IsLight), 10);
    EXPECT_EQ(0, pixels.Count(all, IsDark));
}

TEST_F(ProgressPanelTest, NothingDoneShowsTheTextInBlack) {
    const ClientPixels pixels = Show("0 %", 0, 0, 100);
    EXPECT_EQ(0, FilledWidth(pixels));
    const RECT all = {0, 0, pixels.width, pixels.height};
    EXPECT_GT(pixels.Count(all, IsDark), 10);
}

TEST_F(ProgressPanelTest, SetProgressRepaintsBeforeReturning) {
    Show("", 0, 0, 100);
    // No message pumping in between: the second picture comes from SetProgress alone.
    panel.SetProgress(0, 100, 100);
    EXPECT_EQ(200, FilledWidth(ClientPixels(panel.GetSafeHwnd())));
}

// What a screen reader sees: a progress bar whose value is the text, and a
// value-change event each time the text changes, none when it stays.
std::vector<HWND> valueChanges;

void CALLBACK NoteValueChange(HWINEVENTHOOK, DWORD, HWND window, LONG object, LONG child, DWORD,
                              DWORD) {
    if (object == OBJID_CLIENT && child == CHILDID_SELF) valueChanges.push_back(window);
}

TEST_F(ProgressPanelTest, AssistiveToolsSeeAProgressBarAndItsValue) {
    const HWINEVENTHOOK hook =
        SetWinEventHook(EVENT_OBJECT_VALUECHANGE, EVENT_OBJECT_VALUECHANGE, nullptr,
                        NoteValueChange, GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
    ASSERT_NE(nullptr, hook);
    valueChanges.clear();
    for (const char* text : {"7 %", "7 %", "42 %"}) Show(text, 0, 42, 100);
    PumpMessages(50);
    UnhookWinEvent(hook);
    EXPECT_EQ(std::vector<HWND>(2, panel.GetSafeHwnd()), valueChanges);

    IAccessible* object = nullptr;
    ASSERT_EQ(S_OK,
              AccessibleObjectFromWindow(panel.GetSafeHwnd(), DWORD(OBJID_CLIENT),
                                         __uuidof(IAccessible), reinterpret_cast<void**>(&object)));
    VARIANT self;
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    VARIANT role;
    EXPECT_EQ(S_OK, object->get_accRole(self, &role));
    EXPECT_EQ(VT_I4, role.vt);
    EXPECT_EQ(ROLE_SYSTEM_PROGRESSBAR, role.lVal);
    BSTR value = nullptr;
    EXPECT_EQ(S_OK, object->get_accValue(self, &value));
    EXPECT_EQ(std::wstring(L"42 %"), std::wstring(value ? value : L""));
    SysFreeString(value);
    object->Release();
}

// The highlight pair over the fill, the window pair over the rest: here dark
// text over the fill and light text over the rest.
TEST_F(ProgressPanelTest, HighContrastDrawsOnlyTheSchemesColours) {
    const HighContrastScheme scheme;
    filled = GetSysColor(COLOR_HIGHLIGHT);
    empty = GetSysColor(COLOR_WINDOW);
    for (const int width : {0, 100, 200}) {
        const ClientPixels pixels = Show("8888888888", 0, width / 2, 100);
        EXPECT_EQ(width, FilledWidth(pixels));
        EXPECT_EQ(width > 0, pixels.Count({0, 0, width, pixels.height}, IsDark) > 20);
        EXPECT_EQ(width<200, pixels.Count({width, 0, 200, pixels.height}, IsLight)> 20);
        EXPECT_EQ(0, PixelsOutside(pixels, {COLOR_HIGHLIGHT, COLOR_HIGHLIGHTTEXT, COLOR_WINDOW,
                                            COLOR_WINDOWTEXT}));
    }
}

}  // namespace
