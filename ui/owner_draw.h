#pragma once
// What the owner-drawn controls share: whether to draw in the system's
// high-contrast colours alone, and the keyboard focus cue. (Dialogs repaint
// them when the scheme changes: platform/dialog.h.)

#include <windows.h>

// Whether the high-contrast scheme is on (SPI_GETHIGHCONTRAST).
bool SystemHighContrast();

// Asked at every drawing, so a change of scheme shows at the next paint.
// Tests point it elsewhere: Wine cannot switch the scheme on.
using HighContrastQuery = bool (*)();
inline HighContrastQuery highContrastOn = SystemHighContrast;

// Draws the dotted focus rectangle over rect when the item has the focus and
// the window shows keyboard cues (hidden until the keyboard is used, when
// the system asks for that).
void DrawFocusCue(HWND control, const DRAWITEMSTRUCT& drawInfo, const RECT& rect);
