#pragma once
// Font descriptions, for fonts made as variations of a window's font.

#include <windows.h>

#include <string>

// The description of font; of the system font when font is null.
LOGFONTA DescribeFont(HFONT font);
// Puts face into description, cut to the 31 bytes a face name holds.
void SetFaceName(LOGFONTA* description, const std::string& face);
// A font made from description, whose height is for fromDpi, for dpi.
HFONT CreateFontForDpi(LOGFONTA description, int fromDpi, int dpi);
