#pragma once
// Drawing resources released by their owners at the end of a scope. Declared
// in the order they are taken, they are given back in the reverse order: an
// object selected into a DC is deselected before it is deleted.

#include <windows.h>

// A pen, brush or font made for a drawing; deleted at the end.
class GdiObject {
  public:
    explicit GdiObject(HGDIOBJ object) : object(object) {}
    ~GdiObject() {
        if (object) ::DeleteObject(object);
    }
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;
    HGDIOBJ Get() const { return object; }

  private:
    HGDIOBJ object;
};

// An object selected into a DC; the one it replaced is selected back.
class SelectedObject {
  public:
    SelectedObject(HDC dc, HGDIOBJ object) : dc(dc), previous(::SelectObject(dc, object)) {}
    ~SelectedObject() { ::SelectObject(dc, previous); }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

  private:
    HDC dc;
    HGDIOBJ previous;
};

// A window's DC for measuring or drawing outside WM_PAINT; released.
class WindowDc {
  public:
    explicit WindowDc(HWND window) : window(window), dc(::GetDC(window)) {}
    ~WindowDc() { ::ReleaseDC(window, dc); }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC Get() const { return dc; }

  private:
    HWND window;
    HDC dc;
};

// The DC of a WM_PAINT, ended with the scope.
class PaintDc {
  public:
    explicit PaintDc(HWND window) : window(window), dc(::BeginPaint(window, &paint)) {}
    ~PaintDc() { ::EndPaint(window, &paint); }
    PaintDc(const PaintDc&) = delete;
    PaintDc& operator=(const PaintDc&) = delete;
    HDC Get() const { return dc; }

  private:
    HWND window;
    PAINTSTRUCT paint{};
    HDC dc;
};
