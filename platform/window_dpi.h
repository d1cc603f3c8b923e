#pragma once
// The dots per inch a window is drawn at, and a window's children placed
// again in proportion when it moves to a monitor of another scale.

#include <windows.h>

#include <vector>

// The window's monitor's where Windows tells (10 and later), else the
// system's.
int WindowDpi(HWND window);

// The places of a window's own children (not theirs) as they are when taken,
// at one DPI, to be scaled from there: scaling the places taken once, rather
// than the present ones, keeps rounding from piling up over many moves.
class ChildPlaces {
  public:
    void Take(HWND parent, int dpi);
    int TakenDpi() const { return takenDpi; }
    // Each child at its taken place scaled from the taken DPI to dpi.
    void PlaceAt(int dpi) const;

  private:
    struct Place {
        HWND child;
        RECT rect;  // in the parent's client coordinates
    };
    std::vector<Place> places;
    int takenDpi = USER_DEFAULT_SCREEN_DPI;
};

// Moves window onto the rectangle a WM_DPICHANGED message suggests (its
// lParam).
void MoveToSuggestedRect(HWND window, LPARAM suggestedRect);
