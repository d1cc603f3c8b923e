#pragma once
// CButton: a button control. An owner-drawn button (BS_OWNERDRAW) gets its
// parent's WM_DRAWITEM reflected to DrawItem.

#include "platform/wnd.h"

class CButton : public CWnd {
  protected:
    virtual void DrawItem(DRAWITEMSTRUCT* drawInfo);
    bool OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
};
