#include "ui/owner_draw.h"

bool SystemHighContrast() {
    HIGHCONTRASTA scheme = {};
    scheme.cbSize = sizeof scheme;
    return ::SystemParametersInfoA(SPI_GETHIGHCONTRAST, sizeof scheme, &scheme, 0) &&
           (scheme.dwFlags & HCF_HIGHCONTRASTON);
}

// The control may hide the cue itself (ODS_NOFOCUSRECT) or leave it to be
// asked for.
void DrawFocusCue(HWND control, const DRAWITEMSTRUCT& drawInfo, const RECT& rect) {
    if (!(drawInfo.itemState & ODS_FOCUS) || (drawInfo.itemState & ODS_NOFOCUSRECT)) return;
    if (::SendMessageA(control, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS) return;
    ::DrawFocusRect(drawInfo.hDC, &rect);
}
