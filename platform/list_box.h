#pragma once
// CListBox: a list box control. An owner-drawn list box gets its parent's
// WM_MEASUREITEM and WM_DRAWITEM reflected to MeasureItem and DrawItem.

#include <string>

#include "platform/wnd.h"

class CListBox : public CWnd {
  public:
    int GetCount() const;
    // The selected row, or -1.
    int GetCurSel() const;
    void SetCurSel(int row);
    // Inserts a row at index (-1: at the end) with text as its string and
    // data as its item data, in a list that keeps strings; the new row's
    // index, or -1.
    int InsertItem(int index, const std::string& text, LPARAM data);
    // The data of row, or -1 (LB_ERR) when there is no such row.
    LPARAM GetItemData(int row) const;
    // The string of row; empty when there is no such row.
    std::string GetText(int row) const;
    void DeleteRow(int row);
    void ResetContent();

  protected:
    virtual void MeasureItem(MEASUREITEMSTRUCT* measureInfo);
    virtual void DrawItem(DRAWITEMSTRUCT* drawInfo);
    bool OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
};
