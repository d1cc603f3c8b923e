#include "ui/log_list_box.h"

#include <algorithm>

#include "platform/gdi_holders.h"
#include "ui/owner_draw.h"

namespace {

// A row's item data is the serial of its entry, or this flag for a notice.
const ULONG_PTR kNoticeFlag = 0x40000000;
const COLORREF kErrorColour = RGB(255, 50, 0);
// A list box row is at most 255 pixels high.
const int kMaxRowHeight = 255;
// Texts are drawn into the row shrunk by one pixel on every side.
const int kTextInset = 1;
const UINT kTextFormat = DT_LEFT | DT_TOP | DT_WORDBREAK | DT_NOPREFIX;

bool IsNotice(ULONG_PTR itemData) { return (itemData & kNoticeFlag) != 0; }

SIZE TextExtent(HDC dc, const std::string& text) {
    SIZE size = {};
    ::GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    return size;
}

}  // namespace

void CLogListBox::AddEntry(const std::string& text, ReportKind kind, int serial) {
    if (serial < 0 || static_cast<ULONG_PTR>(serial) >= kNoticeFlag) return;
    if (entries.size() < static_cast<size_t>(serial) + 1) entries.resize(serial + 1);
    entries[serial] = {text, kind, serial};
    // Rows still showing an older entry of this number take the new text:
    // each is put in again so that its string and height follow.
    const int selected = GetCurSel();
    for (int row = 0; row < GetCount(); ++row) {
        if (static_cast<ULONG_PTR>(GetItemData(row)) != static_cast<ULONG_PTR>(serial)) continue;
        DeleteRow(row);
        InsertRow(row, text, serial);
    }
    if (selected >= 0) SetCurSel(selected);
    InsertRow(0, text, serial);
}

void CLogListBox::AddNotice(const std::string& text) { InsertRow(0, text, kNoticeFlag); }

void CLogListBox::InsertRow(int row, const std::string& text, ULONG_PTR itemData) {
    insertingText = &text;
    InsertItem(row, text, static_cast<LPARAM>(itemData));
    insertingText = nullptr;
}

const LogEntry* CLogListBox::EntryAtRow(int row) const {
    if (row < 0 || row >= GetCount()) return nullptr;
    const auto data = static_cast<ULONG_PTR>(GetItemData(row));
    if (IsNotice(data) || data >= entries.size()) return nullptr;
    return &entries[data];
}

// A notice is drawn as a message.
ReportKind CLogListBox::KindOfRow(ULONG_PTR itemData) const {
    if (IsNotice(itemData) || itemData >= entries.size()) return kReportMessage;
    return entries[itemData].kind;
}

void CLogListBox::MeasureItem(MEASUREITEMSTRUCT* measureInfo) {
    const RECT client = GetClientRect();
    measureInfo->itemWidth = client.right - client.left;
    measureInfo->itemHeight =
        MeasureRow(insertingText ? *insertingText : GetText(static_cast<int>(measureInfo->itemID)));
}

void CLogListBox::MeasureRowsAgain() {
    for (int row = 0; row < GetCount(); ++row)
        SendMessage(LB_SETITEMHEIGHT, row, MAKELPARAM(MeasureRow(GetText(row)), 0));
    Invalidate(true);
}

int CLogListBox::MeasureRow(const std::string& text) const {
    const WindowDc dc(GetSafeHwnd());
    const SelectedObject font(dc.Get(), GetFont());
    return MeasureRowHeight(dc.Get(), text);
}

// One line's height for a text that fits the row; for a wider text, the
// fewest whole lines (as high as the letter "A") that hold it word-wrapped
// inside the inset text rectangle.
int CLogListBox::MeasureRowHeight(HDC dc, const std::string& text) const {
    const RECT client = GetClientRect();
    const int textWidth = client.right - client.left - 2 * kTextInset;
    const SIZE extent = TextExtent(dc, text);
    const int lineHeight = std::max(1, static_cast<int>(TextExtent(dc, "A").cy));
    if (extent.cx <= textWidth) return std::max(static_cast<int>(extent.cy), lineHeight);

    RECT wrapped = {0, 0, textWidth, 0};
    ::DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &wrapped,
                kTextFormat | DT_CALCRECT);
    const int needed = wrapped.bottom - wrapped.top + 2 * kTextInset;
    const int lines = (needed + lineHeight - 1) / lineHeight;
    const int maxLines = std::max(1, kMaxRowHeight / lineHeight);
    return std::min(lines, maxLines) * lineHeight;
}

// In high contrast a row takes the scheme's window or highlight pair alone,
// and an error row is framed in its text colour instead of drawn red.
void CLogListBox::DrawItem(DRAWITEMSTRUCT* drawInfo) {
    const HDC dc = drawInfo->hDC;
    if (drawInfo->itemID == static_cast<UINT>(-1)) {  // focus on an empty list
        ::FillRect(dc, &drawInfo->rcItem, ::GetSysColorBrush(COLOR_WINDOW));
        DrawFocusCue(GetSafeHwnd(), *drawInfo, drawInfo->rcItem);
        return;
    }
    const std::string text = GetText(static_cast<int>(drawInfo->itemID));
    const COLORREF oldText = ::GetTextColor(dc);
    const COLORREF oldBack = ::GetBkColor(dc);
    const bool error = KindOfRow(drawInfo->itemData) == kReportError;
    const bool highContrast = highContrastOn();
    const bool selected = (drawInfo->itemState & ODS_SELECTED) != 0;

    COLORREF fill;
    if (highContrast) {
        ::SetTextColor(dc, ::GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
        ::SetBkColor(dc, ::GetSysColor(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
        fill = ::GetBkColor(dc);
    } else if (selected) {
        ::SetTextColor(dc, ::GetSysColor(COLOR_HIGHLIGHTTEXT));
        ::SetBkColor(dc, ::GetSysColor(COLOR_HIGHLIGHT));
        fill = error ? kErrorColour : ::GetSysColor(COLOR_HIGHLIGHT);
    } else {
        if (error) ::SetTextColor(dc, kErrorColour);
        fill = ::GetBkColor(dc);
    }
    const GdiObject brush(::CreateSolidBrush(fill));
    ::FillRect(dc, &drawInfo->rcItem, static_cast<HBRUSH>(brush.Get()));

    RECT textRect = drawInfo->rcItem;
    ::InflateRect(&textRect, -kTextInset, -kTextInset);
    const int oldMode = ::SetBkMode(dc, OPAQUE);
    ::DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &textRect, kTextFormat);

    DrawSeparator(dc, drawInfo->rcItem);
    if (highContrast && error) {
        // The frame lies in the inset around the text.
        const GdiObject ink(::CreateSolidBrush(::GetTextColor(dc)));
        ::FrameRect(dc, &drawInfo->rcItem, static_cast<HBRUSH>(ink.Get()));
    }
    DrawFocusCue(GetSafeHwnd(), *drawInfo, drawInfo->rcItem);
    ::SetBkMode(dc, oldMode);
    ::SetTextColor(dc, oldText);
    ::SetBkColor(dc, oldBack);
}

// A dotted separator along the bottom of a row.
void CLogListBox::DrawSeparator(HDC dc, const RECT& row) {
    const GdiObject pen(::CreatePen(PS_DOT, 1, ::GetSysColor(COLOR_BTNSHADOW)));
    const SelectedObject selected(dc, pen.Get());
    ::MoveToEx(dc, row.left, row.bottom - 1, nullptr);
    ::LineTo(dc, row.right, row.bottom - 1);
}
