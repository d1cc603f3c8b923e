#include "tests/e2e/log_rows.h"

#include <cstring>
#include <vector>

#include "tests/e2e/target_windows.h"

namespace {

// The log draws error texts in RGB(255, 50, 0); smoothed letter edges blend
// towards the background, so a row counts when enough pixels stay close.
bool IsErrorColour(BYTE red, BYTE green, BYTE blue) {
    return red >= 220 && green >= 20 && green <= 90 && blue <= 40;
}
const int kMinErrorPixels = 4;
// Painted rows reach the screen a little after the list has painted them.
const DWORD kSettleMilliseconds = 60;
const int kMaxReads = 25;

LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(window, message, wParam, lParam, SMTO_ABORTIFHUNG, 5000, &result)) {
        throw DriveError("the log does not answer message " + std::to_string(message));
    }
    return LRESULT(result);
}

// Pixels of a rectangle of the screen, top-down, 4 bytes each (B, G, R, -).
std::vector<BYTE> ScreenPixels(const RECT& rect) {
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    std::vector<BYTE> pixels(size_t(width) * height * 4);
    if (width <= 0 || height <= 0) return pixels;
    const HDC screen = GetDC(nullptr);
    const HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    const HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    const HGDIOBJ old = SelectObject(memory, bitmap);
    const bool copied =
        BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY) != 0;
    GdiFlush();
    if (copied) memcpy(pixels.data(), bits, pixels.size());
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    if (!copied) throw DriveError("the screen cannot be read");
    return pixels;
}

// The part of the row the list shows, in screen coordinates.
RECT VisibleRowOnScreen(HWND list, int row) {
    RECT item = {};
    Send(list, LB_GETITEMRECT, WPARAM(row), reinterpret_cast<LPARAM>(&item));
    RECT client = {};
    GetClientRect(list, &client);
    RECT shown = {};
    IntersectRect(&shown, &item, &client);
    MapWindowPoints(list, HWND_DESKTOP, reinterpret_cast<POINT*>(&shown), 2);
    return shown;
}

// The row's pixels once the screen has settled: the list has nothing left
// to paint and two reads in a row agree.
std::vector<BYTE> SettledRowPixels(HWND list, int row) {
    for (int i = 0; i < kMaxReads && GetUpdateRect(list, nullptr, FALSE); ++i) {
        Sleep(kSettleMilliseconds);
    }
    Sleep(kSettleMilliseconds);
    std::vector<BYTE> pixels = ScreenPixels(VisibleRowOnScreen(list, row));
    for (int i = 0; i < kMaxReads; ++i) {
        Sleep(kSettleMilliseconds);
        std::vector<BYTE> again = ScreenPixels(VisibleRowOnScreen(list, row));
        if (again == pixels) return pixels;
        pixels.swap(again);
    }
    throw DriveError("the log keeps changing on the screen");
}

bool RowShowsError(HWND list, int row) {
    Send(list, LB_SETTOPINDEX, WPARAM(row), 0);
    const std::vector<BYTE> pixels = SettledRowPixels(list, row);
    int count = 0;
    for (size_t i = 0; i + 3 < pixels.size(); i += 4) {
        if (IsErrorColour(pixels[i + 2], pixels[i + 1], pixels[i])) ++count;
    }
    return count >= kMinErrorPixels;
}

}  // namespace

int CountErrorRows(HWND list) {
    const HWND window = GetAncestor(list, GA_ROOT);
    SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    const int rows = int(Send(list, LB_GETCOUNT, 0, 0));
    int errors = 0;
    for (int row = 0; row < rows; ++row) {
        if (RowShowsError(list, row)) ++errors;
    }
    Send(list, LB_SETTOPINDEX, 0, 0);
    SetWindowPos(window, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return errors;
}
