// The link button under Wine: blue and underlined, magenta while the pointer
// is over it, back to blue soon after the pointer has left, dark blue and
// shifted by a pixel while pressed; in high contrast the scheme's link colour
// throughout. It shows the focus when the keyboard cues are on, and Enter
// and Space click it.
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
    const COLORREF hotlight = GetSysColor(COLOR_HOTLIGHT);
    const auto outsideScheme = [](COLORREF pixel) {
        return !IsOfScheme(pixel, {COLOR_BTNFACE, COLOR_HOTLIGHT});
    };
    link.Invalidate();
    link.UpdateWindow();
    EXPECT_EQ(underline, UnderlineRow(hotlight));
    MoveInside();
    EXPECT_EQ(underline, UnderlineRow(hotlight));
    link.SendMessage(BM_SETSTATE, TRUE);
    link.UpdateWindow();
    EXPECT_EQ(underline + 1, UnderlineRow(hotlight));
    const ClientPixels pixels(link.GetSafeHwnd());
    EXPECT_EQ(0, pixels.Count({0, 0, pixels.width, pixels.height}, outsideScheme));
}

// The cue shows while the link has the focus, unless the drawing is told
// to leave it out (Wine 8 keeps no keyboard-cue state to hide it by).
TEST_F(LinkButtonTest, TheFocusCueShowsUnlessHidden) {
    const ClientPixels unfocused(link.GetSafeHwnd());
    link.SetFocus();
    link.UpdateWindow();
    EXPECT_GT(ClientPixels(link.GetSafeHwnd()).Differing(unfocused), 20);

    const HDC dc = GetDC(link.GetSafeHwnd());
    DRAWITEMSTRUCT draw = {ODT_BUTTON,
                           1050,
                           0,
                           ODA_DRAWENTIRE,
                           ODS_FOCUS | ODS_NOFOCUSRECT,
                           link.GetSafeHwnd(),
                           dc,
                           link.GetClientRect(),
                           0};
    host.SendMessage(WM_DRAWITEM, 1050, reinterpret_cast<LPARAM>(&draw));
    ReleaseDC(link.GetSafeHwnd(), dc);
    EXPECT_EQ(0, ClientPixels(link.GetSafeHwnd()).Differing(unfocused));
}

// A button takes only Space; the dialog manager hands Enter to the link too.
TEST_F(LinkButtonTest, EnterAndSpaceClickIt) {
    link.SetFocus();
    const struct {
        UINT message;
        WPARAM key;
    } keys[] = {{WM_KEYDOWN, VK_RETURN}, {WM_CHAR, VK_RETURN}, {WM_KEYUP, VK_RETURN},
                {WM_KEYDOWN, VK_SPACE},  {WM_CHAR, ' '},       {WM_KEYUP, VK_SPACE}};
    for (const auto& key : keys) {
        MSG message = {link.GetSafeHwnd(), key.message, key.key, 0, 0, {}};
        IsDialogMessageA(host.GetSafeHwnd(), &message);
    }
    int clicks = 0;
    for (const auto& command : host.commands)
        clicks += command.id == 1050 && command.code == BN_CLICKED;
    EXPECT_EQ(2, clicks);
}

}  // namespace
