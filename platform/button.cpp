#include "platform/button.h"

void CButton::DrawItem(DRAWITEMSTRUCT*) {}

bool CButton::OnChildNotify(UINT message, WPARAM, LPARAM lParam, LRESULT*) {
    if (message != WM_DRAWITEM) return false;
    DrawItem(reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
    return true;
}
