#pragma once
// CLinkButton: an owner-drawn button (BS_OWNERDRAW in its template) that looks
// like an underlined link: blue, magenta while the pointer is over it, dark
// blue and shifted by a pixel while pressed; in high contrast the scheme's
// link colour throughout. A 100 ms timer notices when the pointer has left,
// since no message says so. Enter and Space click it; a dotted rectangle
// around its text shows the focus.

#include "platform/button.h"

class CLinkButton : public CButton {
  public:
    bool IsHovering() const { return hovering; }

  protected:
    void DrawItem(DRAWITEMSTRUCT* drawInfo) override;
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

  private:
    LRESULT OnMouseMove(WPARAM wParam, LPARAM lParam);
    LRESULT OnTimer(WPARAM wParam, LPARAM lParam);
    LRESULT OnGetDlgCode(WPARAM wParam, LPARAM lParam);
    LRESULT OnKeyDown(WPARAM wParam, LPARAM lParam);
    LRESULT OnChar(WPARAM wParam, LPARAM lParam);
    bool Contains(POINT clientPoint) const;
    void RepaintNow();

    const UINT_PTR timerId = 100;
    bool hovering = false;
};
