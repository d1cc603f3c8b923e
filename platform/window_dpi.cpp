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
