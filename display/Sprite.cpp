#include "display/Sprite.h"

#include <cstdint>

Sprite::~Sprite() { CloseSurface(); }

int Sprite::PictureWidth() const { return Stretching() ? StretchWidth() : Bitmap().Width(); }
int Sprite::PictureHeight() const { return Stretching() ? StretchHeight() : Bitmap().Height(); }

void Sprite::CreateSurface() {
    CloseSurface();
    if (!LinkDevice()) return;
    switch (BuildSurface(FpSurface, PictureWidth(), PictureHeight(), Bitmap(), Stretching())) {
    case Upload::Built:
        break;
    case Upload::NoSurface:
        ReportWithRelease(FpSurface, "Error CreateSurfaceBMP");
        break;
    case Upload::NoDC:
        ReportWithRelease(FpSurface, "Error FpSurface->GetDC (BMP)");
        break;
    }
}

void Sprite::CloseSurface() { ReleaseSurface(FpSurface); }

void Sprite::DrawImage() {
    if (!CanDraw(FpSurface)) return;
    FSrcRect = RECT{0, 0, PictureWidth(), PictureHeight()};
    DrawImageFunc();
}

void Sprite::DrawAni() {
    if (!CanDraw(FpSurface)) return;
    const std::int64_t frame = GetNumberFrame();
    std::int64_t frameHeight = GetYOffsetFrame();
    const char* beyond = "Error FNumberFrame (Ani)";
    if (Stretching()) {
        beyond = "Error FNumberFrame (Ani Stretch)";
        // A picture of no rows has no frames to scale.
        if (Bitmap().Height() == 0) {
            Report(beyond);
            return;
        }
        frameHeight = frameHeight * StretchHeight() / Bitmap().Height();
    }
    const std::int64_t top = frame * frameHeight;
    const std::int64_t bottom = top + frameHeight;
    if (top < 0 || bottom > PictureHeight()) {
        Report(beyond);
        return;
    }
    FSrcRect = RECT{0, LONG(top), PictureWidth(), LONG(bottom)};
    DrawImageFunc();
}

void Sprite::DrawImageFunc() {
    if (!CanDraw(FpSurface)) return;
    if (FAILED(BlitClipped(FpSurface))) ReportWithRelease(FpSurface, "Error FDDBACK->BltFast (BMP)");
}

void Sprite::SetTransparency(bool value) {
    if (!CanDraw(FpSurface)) return;
    if (value) DDSetColorKey(FpSurface, CLR_INVALID);
    SetTransparencyState(value);
}

void Sprite::DDSetColorKey(IDirectDrawSurface7* surface, COLORREF color) {
    if (FAILED(KeySurface(surface, color))) ReportWithRelease(FpSurface, "Error SetColorKey (BMP)");
}
