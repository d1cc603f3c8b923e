#pragma once
// CEdit: an edit control, with the members the program uses.

#include "platform/wnd.h"

class CEdit : public CWnd {
  public:
    // The character shown for each typed one; 0 shows the text itself.
    void SetPasswordChar(char shown);
    // Selects from start to end; (0, -1) selects all, (-1, 0) removes the selection.
    void SetSel(int start, int end);
    void ScrollCaret();
    // Copies the selection to the clipboard as text.
    void Copy();
};
