#pragma once
// Windows for the tests that run in process under Wine and Xvfb: a host window
// for controls, the pixels a window has drawn, message pumping, and a modal
// dialog driven from inside its own modal loop.

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "platform/dialog.h"
#include "platform/message_table.h"
#include "platform/wnd.h"

// Runs this thread's messages for a while: painting, timers, posted messages.
inline void PumpMessages(DWORD milliseconds) {
    const ULONGLONG end = GetTickCount64() + milliseconds;
    do {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        Sleep(5);
    } while (GetTickCount64() < end);
}

// A visible top-level window at the screen's top-left corner whose client
// area holds the controls under test; it records the commands they send.
class TestHost : public CWnd {
  public:
    struct Command {
        int id;
        int code;
    };

    explicit TestHost(int clientWidth = 320, int clientHeight = 240) {
        RegisterWindowClass("TarnuTestHost", 0);
        RECT rect = {0, 0, clientWidth, clientHeight};
        EXPECT_TRUE(
            CreateEx(0, "TarnuTestHost", "test host", WS_POPUP | WS_VISIBLE, rect, nullptr, 0));
    }
    ~TestHost() override { DestroyWindow(); }

    // A child control over rect of the client area.
    HWND AddControl(const char* className, DWORD style, const RECT& rect, int id,
                    const char* text = "") {
        return CreateWindowExA(0, className, text, WS_CHILD | WS_VISIBLE | style, rect.left,
                               rect.top, rect.right - rect.left, rect.bottom - rect.top,
                               GetSafeHwnd(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                               GetModuleHandleA(nullptr), nullptr);
    }

    std::vector<Command> commands;

  protected:
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override {
        static constexpr MessageEntry<TestHost> kMessages[] = {
            OnMessage(WM_COMMAND, &TestHost::OnCommandMessage),
        };
        return DispatchMessageTable(this, kMessages, message, wParam, lParam, result) ||
               CWnd::HandleMessage(message, wParam, lParam, result);
    }

  private:
    LRESULT OnCommandMessage(WPARAM wParam, LPARAM) {
        commands.push_back({LOWORD(wParam), HIWORD(wParam)});
        return 0;
    }
};

// The client area of a window as the window drew it, read back from the
// window's own device context.
class ClientPixels {
  public:
    explicit ClientPixels(HWND hwnd) {
        RECT client;
        GetClientRect(hwnd, &client);
        width = client.right;
        height = client.bottom;
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;  // top-down rows
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        const HDC windowDc = GetDC(hwnd);
        const HDC memoryDc = CreateCompatibleDC(windowDc);
        void* bits = nullptr;
        const HBITMAP bitmap = CreateDIBSection(windowDc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        const HGDIOBJ old = SelectObject(memoryDc, bitmap);
        BitBlt(memoryDc, 0, 0, width, height, windowDc, 0, 0, SRCCOPY);
        GdiFlush();
        const auto* words = static_cast<const DWORD*>(bits);
        pixels.assign(words, words + static_cast<size_t>(width) * height);
        SelectObject(memoryDc, old);
        DeleteObject(bitmap);
        DeleteDC(memoryDc);
        ReleaseDC(hwnd, windowDc);
    }

    COLORREF At(int x, int y) const {
        const DWORD p = pixels[static_cast<size_t>(y) * width + x];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }

    // How many pixels of the area [left, right) x [top, bottom) match.
    int Count(const RECT& area, const std::function<bool(COLORREF)>& match) const {
        int count = 0;
        for (int y = area.top; y < area.bottom; ++y) {
            for (int x = area.left; x < area.right; ++x) count += match(At(x, y)) ? 1 : 0;
        }
        return count;
    }

    // How many pixels differ from other's, of the same size.
    int Differing(const ClientPixels& other) const {
        int count = 0;
        for (size_t i = 0; i < pixels.size(); ++i) count += pixels[i] != other.pixels[i];
        return count;
    }

    int width = 0;
    int height = 0;

  private:
    std::vector<DWORD> pixels;
};

inline std::function<bool(COLORREF)> Is(COLORREF colour) {
    return [colour](COLORREF c) { return c == colour; };
}

// Near white, and near black: smoothed text leaves blends at its edges.
inline bool IsLight(COLORREF c) {
    return GetRValue(c) > 200 && GetGValue(c) > 200 && GetBValue(c) > 200;
}
inline bool IsDark(COLORREF c) {
    return GetRValue(c) < 80 && GetGValue(c) < 80 && GetBValue(c) < 80;
}

// The name a screen reader gives a control without text of its own: the text
// of the static control just before it in its dialog's control order.
inline std::string LabelOf(HWND control) {
    const HWND before = GetWindow(control, GW_HWNDPREV);
    char className[16] = {};
    if (!before || !GetClassNameA(before, className, sizeof className) ||
        lstrcmpiA(className, "Static") != 0)
        return "(no static)";
    char text[256] = {};
    GetWindowTextA(before, text, sizeof text);
    return text;
}

// A move of window to a monitor whose scale makes dpi of fromDpi: the
// message Windows sends, suggesting the window's size scaled, a little to the
// right and down. The suggested rectangle is returned.
inline RECT SendDpiChange(HWND window, int fromDpi, int dpi) {
    RECT r;
    GetWindowRect(window, &r);
    RECT suggested = {r.left + 8, r.top + 4, r.left + 8 + MulDiv(r.right - r.left, dpi, fromDpi),
                      r.top + 4 + MulDiv(r.bottom - r.top, dpi, fromDpi)};
    SendMessageA(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    return suggested;
}

// A control's rectangle in its parent's client coordinates.
inline RECT PlaceOf(HWND control) {
    RECT r;
    GetWindowRect(control, &r);
    MapWindowPoints(HWND_DESKTOP, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// Whether place is at most a pixel off each side of original scaled by
// dpi / fromDpi.
inline bool IsScaledPlace(const RECT& place, const RECT& original, int fromDpi, int dpi) {
    const auto within = [&](LONG got, LONG was) {
        return std::abs(got - MulDiv(was, dpi, fromDpi)) <= 1;
    };
    return within(place.left, original.left) && within(place.top, original.top) &&
           within(place.right, original.right) && within(place.bottom, original.bottom);
}

// Runs dialog modally; once its window is up, action runs inside the modal
// loop (from a timer), and the dialog is then cancelled unless action ended
// it. The result is DoModal's.
class ModalDriver {
  public:
    static INT_PTR Run(CDialog& dialog, const std::function<void(HWND)>& action) {
        pending = &action;
        running = &dialog;
        const UINT_PTR timer = SetTimer(nullptr, 0, 20, OnTimer);
        const INT_PTR result = dialog.DoModal();
        if (pending) KillTimer(nullptr, timer);  // the dialog never came up
        pending = nullptr;
        running = nullptr;
        return result;
    }

  private:
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR id, DWORD) {
        const HWND hwnd = running ? running->GetSafeHwnd() : nullptr;
        if (!hwnd || !IsWindowVisible(hwnd) || !pending) return;
        KillTimer(nullptr, id);
        const std::function<void(HWND)>* action = pending;
        pending = nullptr;
        (*action)(hwnd);
        // EndDialog hides the dialog; one still shown is cancelled.
        if (IsWindow(hwnd) && IsWindowVisible(hwnd)) PostMessageA(hwnd, WM_COMMAND, IDCANCEL, 0);
    }

    static inline const std::function<void(HWND)>* pending = nullptr;
    static inline CDialog* running = nullptr;
};

inline INT_PTR RunModalWith(CDialog& dialog, const std::function<void(HWND)>& action) {
    return ModalDriver::Run(dialog, action);
}
