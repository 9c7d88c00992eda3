// A sprite: one picture copied once, optionally scaled, into an
// off-screen surface of the display device, then drawn every frame onto the
// back buffer, clipped to the screen and optionally colour-keyed with its
// top-left colour. It can also draw one band of a strip of stacked frames.
//
// Order of use: fill Bitmap and the scaling; open the device; CreateSurface;
// SetTransparency(true) if wanted; per frame DrawImage or DrawFrame between
// the device's clear and flip; CloseSurface before the device closes.
#pragma once

#include "display/Drawable.h"

class Sprite : public Drawable {
public:
    using Drawable::Drawable;
    ~Sprite() override;

    // Builds surface from Bitmap, at StretchWidth x StretchHeight when
    // Stretching is set; a surface built before is released first.
    void CreateSurface();
    void CloseSurface();

    // The whole picture at (X, Y).
    void DrawImage();
    // Band Frame() of BandHeight() rows (scaled with the picture) at
    // (X, Y).
    void DrawFrame();
    // Clips sourceRect at (X, Y) and blits it. A failed blit releases
    // the surface.
    void DrawSourceRect();

    // Needs the surface: the key is read from its top-left pixel.
    void SetTransparency(bool value);
    void KeyWithColor(IDirectDrawSurface7* target, COLORREF color);

    // The sprite's own surface, holding one reference.
    IDirectDrawSurface7* surface = nullptr;

private:
    int PictureWidth() const;
    int PictureHeight() const;
};
