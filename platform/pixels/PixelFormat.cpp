#include "platform/pixels/PixelFormat.h"

namespace platform {

DDPIXELFORMAT DescribePixelFormat(int bitsPerPixel) {
    DDPIXELFORMAT format{};
    format.dwSize = sizeof(DDPIXELFORMAT);
    format.dwFlags = DDPF_RGB;
    format.dwRGBBitCount = DWORD(bitsPerPixel);
    if (bitsPerPixel == 16) {
        format.dwRBitMask = 0xF800;
        format.dwGBitMask = 0x07E0;
        format.dwBBitMask = 0x001F;
    } else {
        format.dwRBitMask = 0xFF0000;
        format.dwGBitMask = 0x00FF00;
        format.dwBBitMask = 0x0000FF;
    }
    return format;
}

}  // namespace platform
