#include "platform/win32/DialogColors.h"

namespace platform::win32 {

COLORREF ColorOf(TColor color) {
    return IsSystemColor(color) ? GetSysColor(SystemColorIndex(color)) : COLORREF(color);
}

bool HighContrastOn() {
    HIGHCONTRASTA contrast{};
    contrast.cbSize = sizeof contrast;
    return SystemParametersInfoA(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) != FALSE &&
           (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

LabelColors ColorsOfLabel(TColor text, TColor background, bool highContrast) {
    if (!highContrast) return {ColorOf(text), ColorOf(background)};
    // A form greys out a text with the inactive caption's colour, which a
    // high-contrast scheme does not pair with the face; its grey text is.
    const int textColor = text == clInactiveCaption ? COLOR_GRAYTEXT : COLOR_BTNTEXT;
    return {GetSysColor(textColor), GetSysColor(COLOR_BTNFACE)};
}

}  // namespace platform::win32
