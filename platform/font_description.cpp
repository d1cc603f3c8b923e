#include "platform/font_description.h"

#include <cstring>

LOGFONTA DescribeFont(HFONT font) {
    LOGFONTA description = {};
    const HGDIOBJ object = font ? static_cast<HGDIOBJ>(font) : ::GetStockObject(SYSTEM_FONT);
    ::GetObjectA(object, sizeof description, &description);
    return description;
}

void SetFaceName(LOGFONTA* description, const std::string& face) {
    const size_t length = std::min(face.size(), sizeof description->lfFaceName - 1);
    std::memcpy(description->lfFaceName, face.data(), length);
    description->lfFaceName[length] = '\0';
}

HFONT CreateFontForDpi(LOGFONTA description, int fromDpi, int dpi) {
    description.lfHeight = ::MulDiv(description.lfHeight, dpi, fromDpi);
    return ::CreateFontIndirectA(&description);
}
