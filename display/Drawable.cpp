#include "display/Drawable.h"

#include "display/BlitClip.h"
#include "display/DisplayDevice.h"
#include "display/SurfaceColor.h"

void Drawable::SetBitmap(const TBitmap* value) {
    if (value != nullptr) bitmap_ = *value;
}

bool Drawable::LinkDevice() {
    if (device == nullptr) {
        Report("Error connect to DDMAIN");
        return false;
    }
    directDraw = device->directDraw7;
    if (directDraw == nullptr) {
        Report("Error FDD==NULL");
        return false;
    }
    backBuffer = device->backBuffer;
    if (backBuffer == nullptr) {
        Report("Error FDDBACK==NULL");
        return false;
    }
    return true;
}

Drawable::Upload Drawable::BuildSurface(IDirectDrawSurface7*& slot, int width, int height,
                                        const TBitmap& picture, bool scaled) {
    DDSURFACEDESC2 desc{};
    desc.dwSize = sizeof desc;
    desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
    desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN;
    desc.dwWidth = DWORD(width);
    desc.dwHeight = DWORD(height);
    if (FAILED(directDraw->CreateSurface(&desc, &slot, nullptr))) {
        slot = nullptr;
        return Upload::NoSurface;
    }
    HDC dc = nullptr;
    if (FAILED(slot->GetDC(&dc))) return Upload::NoDC;
    if (scaled)
        CanvasStretchDraw(dc, RECT{0, 0, width, height}, picture);
    else
        CanvasDraw(dc, 0, 0, picture);
    slot->ReleaseDC(dc);
    return Upload::Built;
}

bool Drawable::CanDraw(IDirectDrawSurface7* surface) {
    if (surface == nullptr) {
        Report("Error FpSurface==NULL");
        return false;
    }
    if (backBuffer == nullptr) {
        Report("Error FDDBACK==NULL");
        return false;
    }
    return true;
}

HRESULT Drawable::BlitClipped(IDirectDrawSurface7* surface) {
    if (device == nullptr) return DD_OK;
    const int width = device->Width();
    const int height = device->Height();
    const auto clipped = ClipBlit(sourceRect, X(), Y(), width, height);
    if (!clipped) return DD_OK;
    RECT source = clipped->source;
    HRESULT result;
    while ((result = backBuffer->BltFast(DWORD(clipped->x), DWORD(clipped->y), surface, &source, bltFlags)) ==
           DDERR_WASSTILLDRAWING) {
    }
    return result;
}

HRESULT Drawable::KeySurface(IDirectDrawSurface7* surface, COLORREF color) {
    if (surface == nullptr) return DD_OK;
    const DWORD key = SurfaceColorValue(surface, color);
    DDCOLORKEY colorKey{key, key};
    return surface->SetColorKey(DDCKEY_SRCBLT, &colorKey);
}

void Drawable::ReportWithRelease(IDirectDrawSurface7*& surface, const std::string& text) {
    SetErrorText(text);
    ReleaseSurface(surface);
    NotifyError();
}

void Drawable::ReleaseSurface(IDirectDrawSurface7*& surface) {
    if (surface != nullptr) {
        surface->Release();
        surface = nullptr;
    }
}

void Drawable::SetTransparencyState(bool value) {
    bltFlags = value ? DDBLTFAST_SRCCOLORKEY : DDBLTFAST_NOCOLORKEY;
    transparency_ = value;
}
