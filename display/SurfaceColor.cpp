#include "display/SurfaceColor.h"

#include "platform/winapi/Gdi.h"

#include <algorithm>
#include <cstring>

namespace {

// The first pixel of a locked surface; only the bytes of one pixel are read,
// since a surface of one 16- or 24-bit pixel has no four bytes to read.
DWORD FirstPixel(const DDSURFACEDESC2& desc) {
    const DWORD bits = desc.ddpfPixelFormat.dwRGBBitCount;
    DWORD value = 0;
    const std::size_t bytes = std::min<std::size_t>(sizeof value, (bits + 7) / 8);
    std::memcpy(&value, desc.lpSurface, bytes);
    if (bits < 32) value &= (DWORD(1) << bits) - 1;
    return value;
}

}  // namespace

DWORD SurfaceColorValue(IDirectDrawSurface7* surface, COLORREF color) {
    DWORD result = CLR_INVALID;
    if (surface == nullptr) return result;
    COLORREF saved = 0;
    bool wrote = false;
    HDC dc = nullptr;
    if (color != CLR_INVALID && SUCCEEDED(surface->GetDC(&dc))) {
        saved = GetPixel(dc, 0, 0);
        SetPixel(dc, 0, 0, color);
        surface->ReleaseDC(dc);
        wrote = true;
    }

    DDSURFACEDESC2 desc{};
    desc.dwSize = sizeof desc;
    HRESULT locked;
    while ((locked = surface->Lock(nullptr, &desc, 0, nullptr)) == DDERR_WASSTILLDRAWING) {
    }
    if (SUCCEEDED(locked)) {
        result = FirstPixel(desc);
        surface->Unlock(nullptr);
    }

    if (wrote && SUCCEEDED(surface->GetDC(&dc))) {
        SetPixel(dc, 0, 0, saved);
        surface->ReleaseDC(dc);
    }
    return result;
}
