// The surface pixel formats: 16 bpp RGB565, 24 bpp B,G,R bytes, 32 bpp
// XRGB8888, all little-endian. Internal to platform/.
#pragma once

#include "platform/winapi/DirectDraw.h"

#include <cstdint>
#include <cstring>

namespace platform {

constexpr bool IsSurfaceDepth(int bitsPerPixel) {
    return bitsPerPixel == 16 || bitsPerPixel == 24 || bitsPerPixel == 32;
}

constexpr int BytesPerPixel(int bitsPerPixel) { return bitsPerPixel / 8; }

// The bits of a 32-bit value that a pixel of this depth holds.
constexpr std::uint32_t PixelValueMask(int bitsPerPixel) {
    return bitsPerPixel >= 32 ? 0xFFFFFFFFu : (1u << bitsPerPixel) - 1;
}

// Rows start on 4-byte boundaries, as the display's surfaces do.
constexpr int RowPitch(int width, int bitsPerPixel) { return (width * BytesPerPixel(bitsPerPixel) + 3) & ~3; }

DDPIXELFORMAT DescribePixelFormat(int bitsPerPixel);

// The raw value of the pixel at `p`.
inline std::uint32_t ReadPixel(const std::uint8_t* p, int bytesPerPixel) {
    std::uint32_t value = 0;
    std::memcpy(&value, p, std::size_t(bytesPerPixel));
    return value;
}

}  // namespace platform
