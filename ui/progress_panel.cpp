#include "ui/progress_panel.h"

#include <algorithm>
#include <cstdint>

#include "platform/accessible_object.h"
#include "platform/gdi_holders.h"
#include "platform/message_table.h"
#include "ui/owner_draw.h"

namespace {

const char kClassName[] = "TarnuProgressPanel";

void DrawTextClipped(HDC dc, const std::string& text, RECT area, const RECT& clip,
                     COLORREF colour) {
    const int saved = ::SaveDC(dc);
    ::IntersectClipRect(dc, clip.left, clip.top, clip.right, clip.bottom);
    ::SetTextColor(dc, colour);
    ::DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &area,
                DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    ::RestoreDC(dc, saved);
}

}  // namespace

bool CProgressPanel::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
    if (!RegisterWindowClass(kClassName, CS_HREDRAW | CS_VREDRAW)) return false;
    return CreateEx(WS_EX_CLIENTEDGE, kClassName, "", style, rect,
                    parent ? parent->GetSafeHwnd() : nullptr, id);
}

void CProgressPanel::SetProgress(int64_t start, int64_t position, int64_t end) {
    rangeStart = start;
    this->position = position;
    rangeEnd = end;
    Invalidate(true);
    UpdateWindow();
}

bool CProgressPanel::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    static constexpr MessageEntry<CProgressPanel> kMessages[] = {
        OnMessage(WM_PAINT, &CProgressPanel::OnPaint),
        OnMessage(WM_PRINTCLIENT, &CProgressPanel::OnPrintClient),
        OnMessage(WM_GETOBJECT, &CProgressPanel::OnGetObject),
        OnMessage(WM_SETTEXT, &CProgressPanel::OnSetText),
        OnMessage(WM_SETFONT, &CProgressPanel::OnSetFont),
        OnMessage(WM_GETFONT, &CProgressPanel::OnGetFont),
    };
    return DispatchMessageTable(this, kMessages, message, wParam, lParam, result) ||
           CWnd::HandleMessage(message, wParam, lParam, result);
}

LRESULT CProgressPanel::OnPaint(WPARAM, LPARAM) {
    const PaintDc dc(GetSafeHwnd());
    Paint(dc.Get());
    return 0;
}

// Assistive tools see a progress bar whose value is the text shown.
LRESULT CProgressPanel::OnGetObject(WPARAM wParam, LPARAM lParam) {
    const LRESULT answer = AnswerAccessibleObject(GetSafeHwnd(), wParam, lParam,
                                                  ROLE_SYSTEM_PROGRESSBAR, TextMeaning::kValue);
    return answer ? answer : Default();
}

// Only a text that changed is a change of value for a screen reader.
LRESULT CProgressPanel::OnSetText(WPARAM, LPARAM lParam) {
    const char* text = reinterpret_cast<const char*>(lParam);
    const bool changed = GetWindowText() != (text ? text : "");
    const LRESULT result = Default();
    if (changed) NotifyAccessibleChange(GetSafeHwnd(), EVENT_OBJECT_VALUECHANGE);
    return result;
}

LRESULT CProgressPanel::OnPrintClient(WPARAM wParam, LPARAM) {
    Paint(reinterpret_cast<HDC>(wParam));
    return 0;
}

LRESULT CProgressPanel::OnSetFont(WPARAM wParam, LPARAM lParam) {
    font = reinterpret_cast<HFONT>(wParam);
    if (LOWORD(lParam)) Invalidate(true);
    return 0;
}

// The filled part ends at x = left + done * width / span, rounded down, in
// integers: x87 and SSE floating point round differently, and the i686 and
// x86_64 builds must draw the same. Both are halved together until the
// product fits 64 bits; beyond the right edge the whole panel is filled.
int CProgressPanel::BoundaryX(const RECT& client) const {
    if (position <= rangeStart || rangeEnd <= rangeStart) return client.left;
    uint64_t done = uint64_t(position) - uint64_t(rangeStart);
    uint64_t span = uint64_t(rangeEnd) - uint64_t(rangeStart);
    if (done >= span) return client.right;
    while (span > UINT32_MAX) {
        done >>= 1;
        span >>= 1;
    }
    const uint64_t width = uint64_t(std::max(0L, long(client.right - client.left)));
    return client.left + int(done * width / span);
}

// In high contrast the filled part takes the scheme's highlight pair and the
// rest its window pair.
void CProgressPanel::Paint(HDC dc) {
    const bool highContrast = highContrastOn();
    const RECT client = GetClientRect();
    const std::string text = GetWindowText();
    const int x = BoundaryX(client);
    RECT filled = client;
    filled.right = x;
    RECT empty = client;
    empty.left = x;
    ::FillRect(dc, &filled,
               ::GetSysColorBrush(highContrast ? COLOR_HIGHLIGHT : COLOR_ACTIVECAPTION));
    ::FillRect(dc, &empty, ::GetSysColorBrush(highContrast ? COLOR_WINDOW : COLOR_BTNHIGHLIGHT));

    const SelectedObject selectedFont(dc, font ? font : ::GetCurrentObject(dc, OBJ_FONT));
    const int oldMode = ::SetBkMode(dc, TRANSPARENT);
    const COLORREF oldColour = ::GetTextColor(dc);
    DrawTextClipped(dc, text, client, filled,
                    highContrast ? ::GetSysColor(COLOR_HIGHLIGHTTEXT) : RGB(255, 255, 255));
    DrawTextClipped(dc, text, client, empty,
                    highContrast ? ::GetSysColor(COLOR_WINDOWTEXT) : RGB(0, 0, 0));
    ::SetTextColor(dc, oldColour);
    ::SetBkMode(dc, oldMode);
}
