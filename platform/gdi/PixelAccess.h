// Reading and writing single pixels and runs of pixels of a PixelTarget in
// its own format. Internal to the drawing code.
#pragma once

#include "platform/gdi/DeviceContext.h"
#include "platform/pixels/PixelFormat.h"

#include <cstdint>
#include <cstring>

namespace platform::gdi {

// Whether the target can be drawn on at all: pixels, a size and a known format.
inline bool IsDrawable(const PixelTarget& target) {
    return target.pixels != nullptr && target.width > 0 && target.height > 0 &&
           IsSurfaceDepth(target.bitsPerPixel);
}

// A 0x00RRGGBB colour as an RGB565 pixel (top bits of each channel).
inline std::uint16_t ToRgb565(std::uint32_t rgb) {
    return std::uint16_t(((rgb >> 8) & 0xF800) | ((rgb >> 5) & 0x07E0) | ((rgb >> 3) & 0x001F));
}

inline bool Contains(const PixelTarget& target, int x, int y) {
    return x >= 0 && y >= 0 && x < target.width && y < target.height;
}

inline std::uint8_t* PixelAddress(const PixelTarget& target, int x, int y) {
    return target.pixels + std::ptrdiff_t(y) * target.pitch +
           std::ptrdiff_t(x) * BytesPerPixel(target.bitsPerPixel);
}

// Unchecked: (x, y) must lie inside a drawable target.
inline std::uint32_t ReadPixel(const PixelTarget& target, int x, int y) {
    return platform::ReadPixel(PixelAddress(target, x, y), BytesPerPixel(target.bitsPerPixel));
}

inline void WritePixel(const PixelTarget& target, int x, int y, std::uint32_t pixel) {
    std::uint8_t* p = PixelAddress(target, x, y);
    switch (target.bitsPerPixel) {
    case 16: {
        const auto v = std::uint16_t(pixel);
        std::memcpy(p, &v, 2);
        break;
    }
    case 24:
        p[0] = std::uint8_t(pixel);
        p[1] = std::uint8_t(pixel >> 8);
        p[2] = std::uint8_t(pixel >> 16);
        break;
    default:
        std::memcpy(p, &pixel, 4);
        break;
    }
}

// Fills columns [x0, x1) of row y, clipped to the target.
void FillSpan(const PixelTarget& target, std::int64_t y, std::int64_t x0, std::int64_t x1,
              std::uint32_t pixel);

// Writes a pixel when it lies inside the target.
inline void PlotClipped(const PixelTarget& target, int x, int y, std::uint32_t pixel) {
    if (Contains(target, x, y)) WritePixel(target, x, y, pixel);
}

}  // namespace platform::gdi
