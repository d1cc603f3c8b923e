#pragma once
// CBalloonEdit: the class of the main dialog's three password boxes. Typed
// characters and keys reach the control unchanged; only the keyboard's
// context menu (Shift+F10, the menu key) goes to the dialog, so the options
// menu opens from the boxes as from every other control.

#include "platform/edit.h"

class CBalloonEdit : public CEdit {
  protected:
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override {
        // The keyboard's point is (-1, -1), as a whole -1 or as two words; a
        // right click keeps the box's own Edit menu.
        const bool keyboard = LOWORD(lParam) == 0xFFFF && HIWORD(lParam) == 0xFFFF;
        if (message != WM_CONTEXTMENU || !keyboard)
            return CEdit::HandleMessage(message, wParam, lParam, result);
        *result = ::SendMessageA(::GetParent(GetSafeHwnd()), WM_CONTEXTMENU, WPARAM(GetSafeHwnd()),
                                 lParam);
        return true;
    }
};
