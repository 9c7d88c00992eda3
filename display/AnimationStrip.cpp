#include "display/AnimationStrip.h"

#include <algorithm>
#include <cstdint>

AnimationStrip::~AnimationStrip() { CloseSurface(); }

int AnimationStrip::FrameWidth() const { return Stretching() ? StretchWidth() : Bitmap().Width(); }
int AnimationStrip::FrameHeight() const { return Stretching() ? StretchHeight() : BandHeight(); }

IDirectDrawSurface7** AnimationStrip::FrameSlot(int index) {
    if (index < 0 || index >= kMaxFrames) return nullptr;
    return &surfaces[std::size_t(index)];
}

void AnimationStrip::CreateSurface() {
    CloseSurface();
    frameCount = 0;
    if (!LinkDevice()) return;
    // A negative band height cuts no frames either.
    if (BandHeight() <= 0) {
        Report("Not defined FYOffsetFrame");
        return;
    }
    const int count = Bitmap().Height() / BandHeight();
    if (count > kMaxFrames) {
        Report("TOO match sprites");
        return;
    }
    frameCount = count;
    for (int index = 0; index < frameCount; ++index) CreateFrameSurface(index, FrameWidth(), FrameHeight());
}

void AnimationStrip::CreateFrameSurface(int index, int width, int height) {
    IDirectDrawSurface7** slot = FrameSlot(index);
    if (slot == nullptr) return;
    if (directDraw == nullptr) {
        Report("Error FDD==NULL");
        return;
    }
    ReleaseSurface(*slot);
    const std::int64_t rows = Bitmap().Height();
    const std::int64_t top = std::min(rows, std::int64_t(index) * BandHeight());
    const std::int64_t bottom = std::min(rows, top + BandHeight());
    const TBitmap band = Bitmap().Copy(RECT{0, LONG(top), Bitmap().Width(), LONG(bottom)});
    switch (BuildSurface(*slot, width, height, band, true)) {
    case Upload::Built:
        break;
    case Upload::NoSurface:
        ReportWithRelease(*slot, "Error CreateSurfaceANI");
        break;
    case Upload::NoDC:
        ReportWithRelease(*slot, "Error FpSurface->GetDC (ANI)");
        break;
    }
}

void AnimationStrip::CloseSurface() {
    for (IDirectDrawSurface7*& surface : surfaces) ReleaseSurface(surface);
}

void AnimationStrip::DrawFrame() {
    sourceRect = RECT{0, 0, FrameWidth(), FrameHeight()};
    DrawSourceRect();
}

void AnimationStrip::DrawSourceRect() {
    IDirectDrawSurface7** slot = FrameSlot(Frame());
    if (!CanDraw(slot != nullptr ? *slot : nullptr)) return;
    if (FAILED(BlitClipped(*slot))) ReportWithRelease(*slot, "Error FDDBACK->BltFast (ANI)");
}

void AnimationStrip::SetTransparency(bool value) {
    if (frameCount == 0) return;
    if (value)
        for (int index = 0; index < frameCount; ++index)
            KeyWithColor(surfaces[std::size_t(index)], CLR_INVALID, index);
    SetTransparencyState(value);
}

void AnimationStrip::KeyWithColor(IDirectDrawSurface7* surface, COLORREF color, int index) {
    if (surface == nullptr || SUCCEEDED(KeySurface(surface, color))) return;
    if (IDirectDrawSurface7** slot = FrameSlot(index))
        ReportWithRelease(*slot, "Error SetColorKey (ANI)");
    else
        Report("Error SetColorKey (ANI)");
}
