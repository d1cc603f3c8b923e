#include "platform/window_dpi.h"

#include "platform/gdi_holders.h"

int WindowDpi(HWND window) {
    using GetDpiForWindowCall = UINT(WINAPI*)(HWND);
    // Looked up, not linked: older systems lack it.
    static const auto getDpiForWindow =
        reinterpret_cast<GetDpiForWindowCall>(reinterpret_cast<void (*)()>(
            ::GetProcAddress(::GetModuleHandleA("user32.dll"), "GetDpiForWindow")));
    if (getDpiForWindow) {
        const UINT dpi = getDpiForWindow(window);
        if (dpi) return int(dpi);
    }
    const int dpi = ::GetDeviceCaps(WindowDc(window).Get(), LOGPIXELSY);
    return dpi ? dpi : USER_DEFAULT_SCREEN_DPI;
}

void ChildPlaces::Take(HWND parent, int dpi) {
    takenDpi = dpi;
    places.clear();
    for (HWND child = ::GetWindow(parent, GW_CHILD); child;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        RECT rect;
        ::GetWindowRect(child, &rect);
        ::MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&rect), 2);
        places.push_back({child, rect});
    }
}

// Both corners are scaled, not the size, so that neighbours that touch
// keep touching.
void ChildPlaces::PlaceAt(int dpi) const {
    for (const Place& place : places) {
        const RECT& r = place.rect;
        const int left = ::MulDiv(r.left, dpi, takenDpi), top = ::MulDiv(r.top, dpi, takenDpi);
        ::SetWindowPos(place.child, nullptr, left, top, ::MulDiv(r.right, dpi, takenDpi) - left,
                       ::MulDiv(r.bottom, dpi, takenDpi) - top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void MoveToSuggestedRect(HWND window, LPARAM suggestedRect) {
    const RECT& r = *reinterpret_cast<const RECT*>(suggestedRect);
    ::SetWindowPos(window, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
}
