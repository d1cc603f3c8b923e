// The link button under Wine: blue and underlined, magenta while the pointer
// is over it, back to blue soon after the pointer has left, dark blue and
// shifted by a pixel while pressed; in high contrast the scheme's link colour
// throughout; a dotted rectangle while it has the focus.
#include "ui/link_button.h"

#include <gtest/gtest.h>
#include <windows.h>

#include "tests/wine/contrast_scheme.h"
#include "tests/wine/window_harness.h"

namespace {

const COLORREF kBlue = RGB(0, 0, 255);
const COLORREF kMagenta = RGB(255, 0, 255);
const COLORREF kPressed = RGB(0, 0, 150);

class LinkButtonTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(link.SubclassWindow(
            host.AddControl("BUTTON", BS_OWNERDRAW, {10, 10, 130, 40}, 1050, "a link")));
        SetCursorPos(600, 600);  // well away from the host window
        link.UpdateWindow();
    }

    int Count(COLORREF colour) const {
        const ClientPixels pixels(link.GetSafeHwnd());
        return pixels.Count({0, 0, pixels.width, pixels.height}, Is(colour));
    }

    // The lowest row drawn in colour: the underline.
    int UnderlineRow(COLORREF colour) const {
        const ClientPixels pixels(link.GetSafeHwnd());
        for (int y = pixels.height - 1; y >= 0; --y) {
            if (pixels.Count({0, y, pixels.width, y + 1}, Is(colour)) > 0) return y;
        }
        return -1;
    }

    void MoveInside() { link.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(5, 5)); }

    TestHost host;
    CLinkButton link;
};

TEST_F(LinkButtonTest, TurnsMagentaAtOnceWhenThePointerEnters) {
    EXPECT_FALSE(link.IsHovering());
    EXPECT_GT(Count(kBlue), 10);
    EXPECT_EQ(0, Count(kMagenta));
    MoveInside();
    EXPECT_TRUE(link.IsHovering());
    // Repainted before the message returned, without pumping.
    EXPECT_GT(Count(kMagenta), 10);
    EXPECT_EQ(0, Count(kBlue));
}

TEST_F(LinkButtonTest, TurnsBlueSoonAfterThePointerLeaves) {
    MoveInside();
    ASSERT_TRUE(link.IsHovering());
    PumpMessages(300);  // the pointer is far away: the hover timer notices
    EXPECT_FALSE(link.IsHovering());
    EXPECT_GT(Count(kBlue), 10);
    EXPECT_EQ(0, Count(kMagenta));
}

TEST_F(LinkButtonTest, StaysMagentaWhileThePointerStaysOver) {
    POINT inside = {20, 10};
    ClientToScreen(link.GetSafeHwnd(), &inside);
    ASSERT_TRUE(SetCursorPos(inside.x, inside.y));
    MoveInside();
    PumpMessages(300);
    MoveInside();
    EXPECT_TRUE(link.IsHovering());
    EXPECT_GT(Count(kMagenta), 10);
}

TEST_F(LinkButtonTest, APressedLinkIsDarkBlueAndShiftedDown) {
    const int underline = UnderlineRow(kBlue);
    ASSERT_GT(underline, 0);
    link.SendMessage(BM_SETSTATE, TRUE);
    link.UpdateWindow();
    EXPECT_EQ(0, Count(kBlue));
    EXPECT_EQ(underline + 1, UnderlineRow(kPressed));
    link.SendMessage(BM_SETSTATE, FALSE);
    link.UpdateWindow();
    EXPECT_EQ(underline, UnderlineRow(kBlue));
}

TEST_F(LinkButtonTest, HighContrastDrawsEveryStateInTheLinkColour) {
    const int underline = UnderlineRow(kBlue);
    const HighContrastScheme scheme;
    link.Invalidate();
    link.UpdateWindow();
    EXPECT_EQ(underline, UnderlineRow(GetSysColor(COLOR_HOTLIGHT)));
    MoveInside();
    EXPECT_EQ(underline, UnderlineRow(GetSysColor(COLOR_HOTLIGHT)));
    link.SendMessage(BM_SETSTATE, TRUE);
    link.UpdateWindow();
    EXPECT_EQ(underline + 1, UnderlineRow(GetSysColor(COLOR_HOTLIGHT)));
    EXPECT_EQ(0, PixelsOutside(ClientPixels(link.GetSafeHwnd()), {COLOR_BTNFACE, COLOR_HOTLIGHT}));
}

TEST_F(LinkButtonTest, ShowsAFocusCueWhileFocused) {
    const ClientPixels unfocused(link.GetSafeHwnd());
    link.SetFocus();
    link.UpdateWindow();
    EXPECT_GT(ClientPixels(link.GetSafeHwnd()).Differing(unfocused), 20);
}

}  // namespace
