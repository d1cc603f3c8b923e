#pragma once
// A black high-contrast scheme for the drawing tests: the system colours set
// with SetSysColors and the controls told the scheme is on (Wine cannot switch
// it on), both put back at the end of the scope. IsOfScheme tells whether a
// pixel shows only the given colours: one of them, or a blend of two, as the
// smoothed edges of text are.

#include <windows.h>

#include <cstdlib>
#include <initializer_list>
#include <vector>

#include "ui/owner_draw.h"

class HighContrastScheme {
  public:
    // The colours the default drawing takes are set apart from the scheme's
    // own, so that a control drawing them shows.
    HighContrastScheme() {
        const struct {
            int index;
            COLORREF colour;
        } scheme[] = {
            {COLOR_WINDOW, RGB(0, 0, 0)},         {COLOR_WINDOWTEXT, RGB(255, 255, 255)},
            {COLOR_HIGHLIGHT, RGB(26, 235, 255)}, {COLOR_HIGHLIGHTTEXT, RGB(0, 0, 0)},
            {COLOR_HOTLIGHT, RGB(255, 255, 0)},   {COLOR_BTNFACE, RGB(0, 0, 0)},
            {COLOR_BTNTEXT, RGB(255, 255, 255)},  {COLOR_BTNSHADOW, RGB(128, 128, 128)},
            {COLOR_BTNHIGHLIGHT, RGB(96, 0, 96)}, {COLOR_ACTIVECAPTION, RGB(0, 96, 0)},
        };
        for (const auto& entry : scheme) {
            indices.push_back(entry.index);
            colours.push_back(entry.colour);
            saved.push_back(GetSysColor(entry.index));
        }
        SetSysColors(static_cast<int>(indices.size()), indices.data(), colours.data());
        highContrastOn = [] { return true; };
    }
    ~HighContrastScheme() {
        highContrastOn = SystemHighContrast;
        SetSysColors(static_cast<int>(indices.size()), indices.data(), saved.data());
    }
    HighContrastScheme(const HighContrastScheme&) = delete;
    HighContrastScheme& operator=(const HighContrastScheme&) = delete;

  private:
    std::vector<int> indices;
    std::vector<COLORREF> colours, saved;
};

// One of the system colours named, or a point on the line between two of them.
inline bool IsOfScheme(COLORREF pixel, std::initializer_list<int> colourIndices) {
    const int c[3] = {GetRValue(pixel), GetGValue(pixel), GetBValue(pixel)};
    for (int first : colourIndices) {
        for (int second : colourIndices) {
            const COLORREF a = GetSysColor(first), b = GetSysColor(second);
            const int from[3] = {GetRValue(a), GetGValue(a), GetBValue(a)};
            const int to[3] = {GetRValue(b), GetGValue(b), GetBValue(b)};
            // How far along: measured on the channel that differs most.
            int widest = 0;
            for (int i = 1; i < 3; ++i)
                if (std::abs(to[i] - from[i]) > std::abs(to[widest] - from[widest])) widest = i;
            const int span = to[widest] - from[widest];
            const double t = span ? double(c[widest] - from[widest]) / span : 0.0;
            if (t < 0 || t > 1) continue;
            bool on = true;
            for (int i = 0; i < 3; ++i)
                on = on && std::abs(from[i] + t * (to[i] - from[i]) - c[i]) <= 6;
            if (on) return true;
        }
    }
    return false;
}
