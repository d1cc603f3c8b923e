#include "ui/link_button.h"

#include <windowsx.h>

#include "platform/font_description.h"
#include "platform/gdi_holders.h"
#include "platform/message_table.h"
#include "ui/owner_draw.h"

namespace {

const COLORREF kLinkColour = RGB(0, 0, 255);
const COLORREF kHoverColour = RGB(255, 0, 255);
const COLORREF kPressedColour = RGB(0, 0, 150);
const UINT kHoverCheckMilliseconds = 100;

}  // namespace

bool CLinkButton::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    static constexpr MessageEntry<CLinkButton> kMessages[] = {
        OnMessage(WM_MOUSEMOVE, &CLinkButton::OnMouseMove),
        OnMessage(WM_TIMER, &CLinkButton::OnTimer),
        OnMessage(WM_GETDLGCODE, &CLinkButton::OnGetDlgCode),
        OnMessage(WM_KEYDOWN, &CLinkButton::OnKeyDown),
        OnMessage(WM_CHAR, &CLinkButton::OnChar),
    };
    return DispatchMessageTable(this, kMessages, message, wParam, lParam, result) ||
           CButton::HandleMessage(message, wParam, lParam, result);
}

// In high contrast every state takes the scheme's link colour; a press still
// shifts the text.
void CLinkButton::DrawItem(DRAWITEMSTRUCT* drawInfo) {
    const HDC dc = drawInfo->hDC;
    LOGFONTA description = DescribeFont(GetFont());
    description.lfUnderline = TRUE;
    const GdiObject font(::CreateFontIndirectA(&description));
    const SelectedObject selected(dc, font.Get());

    ::FillRect(dc, &drawInfo->rcItem, ::GetSysColorBrush(COLOR_BTNFACE));
    RECT textRect = drawInfo->rcItem;
    COLORREF colour = hovering ? kHoverColour : kLinkColour;
    if (drawInfo->itemState & ODS_SELECTED) {
        textRect.left += 1;
        textRect.top += 1;
        colour = kPressedColour;
    }
    if (highContrastOn()) colour = ::GetSysColor(COLOR_HOTLIGHT);
    const COLORREF oldColour = ::SetTextColor(dc, colour);
    const int oldMode = ::SetBkMode(dc, TRANSPARENT);
    const std::string text = GetWindowText();
    ::DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &textRect, DT_LEFT | DT_TOP);

    // The cue hugs the text, as far as the button reaches.
    RECT cue = textRect;
    ::DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &cue,
                DT_LEFT | DT_TOP | DT_CALCRECT);
    ::InflateRect(&cue, 1, 1);
    ::IntersectRect(&cue, &cue, &drawInfo->rcItem);
    DrawFocusCue(GetSafeHwnd(), *drawInfo, cue);

    ::SetBkMode(dc, oldMode);
    ::SetTextColor(dc, oldColour);
}

// A button lets the dialog take Enter for its default button; a link takes
// it, like Space, as a click.
LRESULT CLinkButton::OnGetDlgCode(WPARAM, LPARAM lParam) {
    const auto* message = reinterpret_cast<const MSG*>(lParam);
    const bool enter = message && (message->message == WM_KEYDOWN || message->message == WM_CHAR) &&
                       message->wParam == VK_RETURN;
    return Default() | (enter ? DLGC_WANTMESSAGE : 0);
}

LRESULT CLinkButton::OnKeyDown(WPARAM wParam, LPARAM) {
    if (wParam != VK_RETURN) return Default();
    const HWND parent = ::GetParent(GetSafeHwnd());
    ::SendMessageA(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), BN_CLICKED),
                   reinterpret_cast<LPARAM>(GetSafeHwnd()));
    return 0;
}

// The character Enter leaves behind is not the button's to handle.
LRESULT CLinkButton::OnChar(WPARAM wParam, LPARAM) { return wParam == VK_RETURN ? 0 : Default(); }

LRESULT CLinkButton::OnMouseMove(WPARAM, LPARAM lParam) {
    const POINT point = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    if (!Contains(point)) {
        // Only seen while the button holds the mouse capture (pressed).
        hovering = false;
    } else if (!hovering) {
        hovering = true;
        SetTimer(timerId, kHoverCheckMilliseconds);
        RepaintNow();
    }
    return Default();
}

LRESULT CLinkButton::OnTimer(WPARAM wParam, LPARAM) {
    if (wParam == timerId) {
        POINT point;
        ::GetCursorPos(&point);
        ::ScreenToClient(GetSafeHwnd(), &point);
        if (!Contains(point)) {
            hovering = false;
            RepaintNow();
            KillTimer(timerId);
        }
    }
    return Default();
}

bool CLinkButton::Contains(POINT clientPoint) const {
    const RECT client = GetClientRect();
    return ::PtInRect(&client, clientPoint) != FALSE;
}

void CLinkButton::RepaintNow() {
    Invalidate(true);
    UpdateWindow();
}
