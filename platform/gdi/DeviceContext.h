// Device contexts as the platform makes them: over a surface's pixels, or
// over a window of another program. Internal to platform/.
#pragma once

#include "platform/forms/Bitmap.h"
#include "platform/seam/Backend.h"
#include "platform/winapi/WinTypes.h"

#include <cstdint>

namespace platform {

// Writable pixels in a surface format (16 bpp RGB565, 24 bpp B,G,R bytes,
// 32 bpp XRGB8888 little-endian).
struct PixelTarget {
    std::uint8_t* pixels = nullptr;
    int width = 0;
    int height = 0;
    int pitch = 0;
    int bitsPerPixel = 0;
};

// A context drawing straight into `target`; valid until DestroyDC.
HDC CreateSurfaceDC(const PixelTarget& target);
// A context of a window: canvas drawing is collected and reaches the window
// (CurrentBackend().PaintBitmap) when it is released. Window 0 is the screen.
HDC CreateWindowDC(HWND window);
void DestroyDC(HDC dc);

// Pixel value of a colour in a surface format, and back.
std::uint32_t PackColor(COLORREF color, int bitsPerPixel);
COLORREF UnpackColor(std::uint32_t pixel, int bitsPerPixel);

}  // namespace platform
