#include "display/Sprite.h"

#include <cstdint>

Sprite::~Sprite() { CloseSurface(); }

int Sprite::PictureWidth() const { return Stretching() ? StretchWidth() : Bitmap().Width(); }
int Sprite::PictureHeight() const { return Stretching() ? StretchHeight() : Bitmap().Height(); }

void Sprite::CreateSurface() {
    CloseSurface();
    if (!LinkDevice()) return;
    switch (BuildSurface(surface, PictureWidth(), PictureHeight(), Bitmap(), Stretching())) {
    case Upload::Built:
        break;
    case Upload::NoSurface:
        ReportWithRelease(surface, "Error CreateSurfaceBMP");
        break;
    case Upload::NoDC:
        ReportWithRelease(surface, "Error FpSurface->GetDC (BMP)");
        break;
    }
}

void Sprite::CloseSurface() { ReleaseSurface(surface); }

void Sprite::DrawImage() {
    if (!CanDraw(surface)) return;
    sourceRect = RECT{0, 0, PictureWidth(), PictureHeight()};
    DrawSourceRect();
}

void Sprite::DrawFrame() {
    if (!CanDraw(surface)) return;
    const std::int64_t frame = Frame();
    std::int64_t frameHeight = BandHeight();
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
    sourceRect = RECT{0, LONG(top), PictureWidth(), LONG(bottom)};
    DrawSourceRect();
}

void Sprite::DrawSourceRect() {
    if (!CanDraw(surface)) return;
    if (FAILED(BlitClipped(surface))) ReportWithRelease(surface, "Error FDDBACK->BltFast (BMP)");
}

void Sprite::SetTransparency(bool value) {
    if (!CanDraw(surface)) return;
    if (value) KeyWithColor(surface, CLR_INVALID);
    SetTransparencyState(value);
}

void Sprite::KeyWithColor(IDirectDrawSurface7* target, COLORREF color) {
    if (FAILED(KeySurface(target, color))) ReportWithRelease(surface, "Error SetColorKey (BMP)");
}
