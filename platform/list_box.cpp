#include "platform/list_box.h"

int CListBox::GetCount() const { return static_cast<int>(SendMessage(LB_GETCOUNT)); }

int CListBox::GetCurSel() const {
    const LRESULT row = SendMessage(LB_GETCURSEL);
    return row == LB_ERR ? -1 : static_cast<int>(row);
}

void CListBox::SetCurSel(int row) { SendMessage(LB_SETCURSEL, row); }

int CListBox::InsertItem(int index, LPARAM data) {
    const LRESULT row = SendMessage(LB_INSERTSTRING, index, data);
    return row < 0 ? -1 : static_cast<int>(row);
}

LPARAM CListBox::GetItemData(int row) const { return SendMessage(LB_GETITEMDATA, row); }

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
