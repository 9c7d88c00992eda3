// An animation strip: a picture of frames of equal height stacked from the
// top, cut into one off-screen surface per frame when the surfaces are built
// (each scaled on its own and keyed with its own top-left colour), of which
// one chosen frame is drawn per call.
//
// Order of use: fill Bitmap; set BandHeight and the scaling; open the
// device; CreateSurface; SetTransparency(true) if wanted; per frame
// SetFrame, the position, DrawFrame; CloseSurface before the device
// closes.
#pragma once

#include "display/Drawable.h"

#include <array>

class AnimationStrip : public Drawable {
public:
    static constexpr int kMaxFrames = 200;

    using Drawable::Drawable;
    ~AnimationStrip() override;

    // Cuts Bitmap into bands of BandHeight rows (rows below the last whole
    // band are not used) and builds one surface per band, each StretchWidth x
    // StretchHeight when Stretching is set. A strip of more than kMaxFrames
    // frames builds nothing. Surfaces built before are released first.
    void CreateSurface();
    // Builds frame `index` at width x height. A failure leaves that frame
    // without a surface and the others as they are.
    void CreateFrameSurface(int index, int width, int height);
    void CloseSurface();

    // Frame Frame() at (X, Y); a frame number without a surface
    // (or outside the table) is reported and not drawn.
    void DrawFrame();
    // Clips sourceRect at (X, Y) and blits frame Frame(). A failed
    // blit releases that frame alone.
    void DrawSourceRect();

    // Keys every frame with its own top-left pixel, or stops using the keys.
    void SetTransparency(bool value);
    // An absent surface is skipped; a refused key releases frame `index`.
    void KeyWithColor(IDirectDrawSurface7* surface, COLORREF color, int index);

    // Entry n holds the surface of frame n with one reference.
    std::array<IDirectDrawSurface7*, kMaxFrames> surfaces{};
    // Frames cut by the last CreateSurface; 0 after a refused strip.
    int frameCount = 0;

private:
    int FrameWidth() const;
    int FrameHeight() const;
    IDirectDrawSurface7** FrameSlot(int index);
};
