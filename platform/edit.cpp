#include "platform/edit.h"

void CEdit::SetPasswordChar(char shown) {
    SendMessage(EM_SETPASSWORDCHAR, static_cast<unsigned char>(shown));
}

void CEdit::SetSel(int start, int end) { SendMessage(EM_SETSEL, start, end); }

void CEdit::ScrollCaret() { SendMessage(EM_SCROLLCARET); }

void CEdit::Copy() { SendMessage(WM_COPY); }
