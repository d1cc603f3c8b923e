#pragma once
// The dots per inch a window is drawn at.

#include <windows.h>

// The window's monitor's where Windows tells (10 and later), else the
// system's.
int WindowDpi(HWND window);
