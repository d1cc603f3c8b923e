#pragma once
// A black high-contrast scheme for the drawing tests: system colours set with
// SetSysColors and the controls told the scheme is on (Wine cannot switch it
// on), both put back at the end of the scope. The colours the default look
// draws with are set apart from the scheme's, so that a control using them
// shows.

#include <windows.h>

#include <cstdlib>
#include <initializer_list>

#include "tests/wine/window_harness.h"
#include "ui/owner_draw.h"

class HighContrastScheme {
  public:
    HighContrastScheme() {
        for (int i = 0; i < kCount; ++i) saved[i] = GetSysColor(kIndices[i]);
        SetSysColors(kCount, kIndices, kColours);
        highContrastOn = [] { return true; };
    }
    ~HighContrastScheme() {
        highContrastOn = SystemHighContrast;
        SetSysColors(kCount, kIndices, saved);
    }

  private:
    static constexpr int kCount = 9;
    static constexpr int kIndices[kCount] = {
        COLOR_WINDOW,  COLOR_WINDOWTEXT, COLOR_HIGHLIGHT,    COLOR_HIGHLIGHTTEXT, COLOR_HOTLIGHT,
        COLOR_BTNFACE, COLOR_BTNSHADOW,  COLOR_BTNHIGHLIGHT, COLOR_ACTIVECAPTION};
    static constexpr COLORREF kColours[kCount] = {
        RGB(0, 0, 0), RGB(255, 255, 255), RGB(26, 235, 255), RGB(0, 0, 0), RGB(255, 255, 0),
        RGB(0, 0, 0), RGB(128, 128, 128), RGB(96, 0, 96),    RGB(0, 96, 0)};
    COLORREF saved[kCount] = {};
};

// How many pixels are neither one of the system colours named nor a blend of
// two of them (as the smoothed edges of text are).
inline int PixelsOutside(const ClientPixels& pixels, std::initializer_list<int> colours) {
    const auto inScheme = [&](COLORREF c) {
        for (int first : colours) {
            for (int second : colours) {
                const COLORREF a = GetSysColor(first), b = GetSysColor(second);
                // How far from a to b, on the channel where they differ most.
                const int span[3] = {GetRValue(b) - GetRValue(a), GetGValue(b) - GetGValue(a),
                                     GetBValue(b) - GetBValue(a)};
                const int from[3] = {GetRValue(a), GetGValue(a), GetBValue(a)};
                const int at[3] = {GetRValue(c), GetGValue(c), GetBValue(c)};
                int w = 0;
                for (int i = 1; i < 3; ++i) w = std::abs(span[i]) > std::abs(span[w]) ? i : w;
                const double t = span[w] ? double(at[w] - from[w]) / span[w] : 0.0;
                bool on = t >= 0 && t <= 1;
                for (int i = 0; i < 3; ++i) on = on && std::abs(from[i] + t * span[i] - at[i]) <= 6;
                if (on) return true;
            }
        }
        return false;
    };
    return pixels.Count({0, 0, pixels.width, pixels.height},
                        [&](COLORREF c) { return !inScheme(c); });
}
