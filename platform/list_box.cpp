#include "platform/list_box.h"

int CListBox::GetCount() const { return static_cast<int>(SendMessage(LB_GETCOUNT)); }

int CListBox::GetCurSel() const {
    const LRESULT row = SendMessage(LB_GETCURSEL);
    return row == LB_ERR ? -1 : static_cast<int>(row);
}

void CListBox::SetCurSel(int row) { SendMessage(LB_SETCURSEL, row); }

int CListBox::InsertItem(int index, const std::string& text, LPARAM data) {
    const LRESULT row = SendMessage(LB_INSERTSTRING, index, reinterpret_cast<LPARAM>(text.c_str()));
    if (row < 0) return -1;
    SendMessage(LB_SETITEMDATA, row, data);
    return static_cast<int>(row);
}

LPARAM CListBox::GetItemData(int row) const { return SendMessage(LB_GETITEMDATA, row); }

std::string CListBox::GetText(int row) const {
    const LRESULT length = SendMessage(LB_GETTEXTLEN, row);
    if (length <= 0) return std::string();
    std::string text(static_cast<size_t>(length) + 1, '\0');
    const LRESULT copied = SendMessage(LB_GETTEXT, row, reinterpret_cast<LPARAM>(&text[0]));
    text.resize(copied < 0 ? 0 : static_cast<size_t>(copied));
    return text;
}

void CListBox::DeleteRow(int row) { SendMessage(LB_DELETESTRING, row); }

void CListBox::ResetContent() { SendMessage(LB_RESETCONTENT); }

void CListBox::MeasureItem(MEASUREITEMSTRUCT*) {}

void CListBox::DrawItem(DRAWITEMSTRUCT*) {}

bool CListBox::OnChildNotify(UINT message, WPARAM, LPARAM lParam, LRESULT*) {
    if (message == WM_MEASUREITEM) {
        MeasureItem(reinterpret_cast<MEASUREITEMSTRUCT*>(lParam));
        return true;
    }
    if (message == WM_DRAWITEM) {
        DrawItem(reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
        return true;
    }
    return false;
}
