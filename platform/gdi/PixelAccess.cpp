// Colours in the three surface formats, and runs of pixels.
#include "platform/gdi/PixelAccess.h"

#include "platform/gdi/DeviceContext.h"

#include <algorithm>
#include <cstring>

namespace platform {

std::uint32_t PackColor(COLORREF color, int bitsPerPixel) {
    const std::uint32_t rgb =
        (std::uint32_t(GetRValue(color)) << 16) | (std::uint32_t(GetGValue(color)) << 8) | GetBValue(color);
    switch (bitsPerPixel) {
    case 16:
        return gdi::ToRgb565(rgb);
    case 24:
    case 32:
        return rgb;
    default:
        return 0;
    }
}

COLORREF UnpackColor(std::uint32_t pixel, int bitsPerPixel) {
    switch (bitsPerPixel) {
    case 16: {
        // Repeat the top bits into the low ones so that full intensity
        // comes back as 255, not 248 or 252.
        const std::uint32_t r5 = (pixel >> 11) & 0x1F;
        const std::uint32_t g6 = (pixel >> 5) & 0x3F;
        const std::uint32_t b5 = pixel & 0x1F;
        return RGB(BYTE((r5 << 3) | (r5 >> 2)), BYTE((g6 << 2) | (g6 >> 4)), BYTE((b5 << 3) | (b5 >> 2)));
    }
    case 24:
    case 32:
        return RGB(BYTE(pixel >> 16), BYTE(pixel >> 8), BYTE(pixel));
    default:
        return CLR_INVALID;
    }
}

namespace gdi {

void FillSpan(const PixelTarget& target, std::int64_t y, std::int64_t x0, std::int64_t x1,
              std::uint32_t pixel) {
    if (y < 0 || y >= target.height) return;
    x0 = std::max<std::int64_t>(x0, 0);
    x1 = std::min<std::int64_t>(x1, target.width);
    if (x0 >= x1) return;
    // memcpy per pixel: surfaces promise no alignment, and compilers turn it
    // into plain stores.
    std::uint8_t* p = PixelAddress(target, int(x0), int(y));
    const std::uint8_t* end = p + std::ptrdiff_t(x1 - x0) * (target.bitsPerPixel / 8);
    switch (target.bitsPerPixel) {
    case 16: {
        const auto v = std::uint16_t(pixel);
        for (; p != end; p += 2) std::memcpy(p, &v, 2);
        break;
    }
    case 24:
        for (; p != end; p += 3) {
            p[0] = std::uint8_t(pixel);
            p[1] = std::uint8_t(pixel >> 8);
            p[2] = std::uint8_t(pixel >> 16);
        }
        break;
    default:
        for (; p != end; p += 4) std::memcpy(p, &pixel, 4);
        break;
    }
}

}  // namespace gdi
}  // namespace platform
