#include "display/AnimationStrip.h"

#include <algorithm>
#include <cstdint>

AnimationStrip::~AnimationStrip() { CloseSurface(); }

int AnimationStrip::FrameWidth() const { return Stretching() ? StretchWidth() : Bitmap().Width(); }
int AnimationStrip::FrameHeight() const { return Stretching() ? StretchHeight() : GetYOffsetFrame(); }

IDirectDrawSurface7** AnimationStrip::FrameSlot(int index) {
    if (index < 0 || index >= kMaxFrames) return nullptr;
    return &FpSurface[std::size_t(index)];
}

void AnimationStrip::CreateSurface() {
    CloseSurface();
    FFrameCount = 0;
    if (!LinkDevice()) return;
    // A negative band height cuts no frames either.
    if (GetYOffsetFrame() <= 0) {
        Report("Not defined FYOffsetFrame");
        return;
    }
    const int count = Bitmap().Height() / GetYOffsetFrame();
    if (count > kMaxFrames) {
        Report("TOO match sprites");
        return;
    }
    FFrameCount = count;
    for (int index = 0; index < FFrameCount; ++index) Create1Surface(index, FrameWidth(), FrameHeight());
}

void AnimationStrip::Create1Surface(int index, int width, int height) {
    IDirectDrawSurface7** slot = FrameSlot(index);
    if (slot == nullptr) return;
    if (FDD == nullptr) {
        Report("Error FDD==NULL");
        return;
    }
    ReleaseSurface(*slot);
    const std::int64_t rows = Bitmap().Height();
    const std::int64_t top = std::min(rows, std::int64_t(index) * GetYOffsetFrame());
    const std::int64_t bottom = std::min(rows, top + GetYOffsetFrame());
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
    for (IDirectDrawSurface7*& surface : FpSurface) ReleaseSurface(surface);
}

void AnimationStrip::DrawAni() {
    FSrcRect = RECT{0, 0, FrameWidth(), FrameHeight()};
    DrawImageFunc();
}

void AnimationStrip::DrawImageFunc() {
    IDirectDrawSurface7** slot = FrameSlot(GetNumberFrame());
    if (!CanDraw(slot != nullptr ? *slot : nullptr)) return;
    if (FAILED(BlitClipped(*slot))) ReportWithRelease(*slot, "Error FDDBACK->BltFast (ANI)");
}

void AnimationStrip::SetTransparency(bool value) {
    if (FFrameCount == 0) return;
    if (value)
        for (int index = 0; index < FFrameCount; ++index)
            DDSetColorKey(FpSurface[std::size_t(index)], CLR_INVALID, index);
    SetTransparencyState(value);
}

void AnimationStrip::DDSetColorKey(IDirectDrawSurface7* surface, COLORREF color, int index) {
    if (surface == nullptr || SUCCEEDED(KeySurface(surface, color))) return;
    if (IDirectDrawSurface7** slot = FrameSlot(index))
        ReportWithRelease(*slot, "Error SetColorKey (ANI)");
    else
        Report("Error SetColorKey (ANI)");
}
