#include "ui/progress_panel.h"

#include "platform/message_table.h"

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
    };
    return DispatchMessageTable(this, kMessages, message, wParam, lParam, result) ||
           CWnd::HandleMessage(message, wParam, lParam, result);
}

LRESULT CProgressPanel::OnPaint(WPARAM, LPARAM) {
    PAINTSTRUCT paint;
    const HDC dc = ::BeginPaint(GetSafeHwnd(), &paint);
    Paint(dc);
    ::EndPaint(GetSafeHwnd(), &paint);
    return 0;
}

LRESULT CProgressPanel::OnPrintClient(WPARAM wParam, LPARAM) {
    Paint(reinterpret_cast<HDC>(wParam));
    return 0;
}

// The filled part ends at x = left + done / span * width, in floating point so
// that 64-bit values neither overflow nor lose the fraction; beyond the right
// edge the whole panel is filled.
int CProgressPanel::BoundaryX(const RECT& client) const {
    const double done = static_cast<double>(position) - static_cast<double>(rangeStart);
    const double span = static_cast<double>(rangeEnd) - static_cast<double>(rangeStart);
    if (done <= 0 || span <= 0) return client.left;
    const double x = client.left + done / span * (client.right - client.left);
    return x >= client.right ? client.right : static_cast<int>(x);
}

void CProgressPanel::Paint(HDC dc) {
    const RECT client = GetClientRect();
    const std::string text = GetWindowText();
    const int x = BoundaryX(client);
    RECT filled = client;
    filled.right = x;
    RECT empty = client;
    empty.left = x;
    ::FillRect(dc, &filled, ::GetSysColorBrush(COLOR_ACTIVECAPTION));
    ::FillRect(dc, &empty, ::GetSysColorBrush(COLOR_BTNHIGHLIGHT));

    const int oldMode = ::SetBkMode(dc, TRANSPARENT);
    const COLORREF oldColour = ::GetTextColor(dc);
    DrawTextClipped(dc, text, client, filled, RGB(255, 255, 255));
    DrawTextClipped(dc, text, client, empty, RGB(0, 0, 0));
    ::SetTextColor(dc, oldColour);
    ::SetBkMode(dc, oldMode);
}
