// What the sprite (Sprite) and the animation strip (AnimationStrip) share:
// the picture with its scaling, the position, the link to the display
// device, the surfaces' upload, and the clipped, colour-keyed fast blit.
#pragma once

#include "display/DisplayComponent.h"
#include "platform/forms/Bitmap.h"
#include "platform/winapi/DirectDraw.h"

#include <atomic>
#include <string>
#include <utility>

class DisplayDevice;

class Drawable : public DisplayComponent {
public:
    using DisplayComponent::DisplayComponent;
    Drawable(const Drawable&) = delete;
    Drawable& operator=(const Drawable&) = delete;

    const TBitmap& Bitmap() const { return bitmap_; }
    // Keeps a copy of the picture; an absent one is ignored. Used by the next
    // CreateSurface.
    void SetBitmap(const TBitmap* value);
    // Takes the picture over without a copy.
    void SetBitmap(TBitmap&& value) { bitmap_ = std::move(value); }

    // Position, frame number: may be stored from the timer thread while the
    // window thread draws; each draw reads them once.
    int X() const { return x_.load(std::memory_order_relaxed); }
    void SetX(int value) { x_.store(value, std::memory_order_relaxed); }
    int Y() const { return y_.load(std::memory_order_relaxed); }
    void SetY(int value) { y_.store(value, std::memory_order_relaxed); }
    int Frame() const { return frame_.load(std::memory_order_relaxed); }
    void SetFrame(int value) { frame_.store(value, std::memory_order_relaxed); }

    int BandHeight() const { return bandHeight_; }
    void SetBandHeight(int value) { bandHeight_ = value; }
    bool Transparency() const { return transparency_; }
    bool Stretching() const { return stretching_; }
    void SetStretching(bool value) { stretching_ = value; }
    int StretchWidth() const { return stretchWidth_; }
    void SetStretchWidth(int value) { stretchWidth_ = value; }
    int StretchHeight() const { return stretchHeight_; }
    void SetStretchHeight(int value) { stretchHeight_ = value; }

    // The display device drawn on; not owned.
    DisplayDevice* device = nullptr;
    // Copies of the device's objects taken by CreateSurface, without a
    // reference of their own: they stay as taken when the device closes.
    IDirectDraw7* directDraw = nullptr;
    IDirectDrawSurface7* backBuffer = nullptr;
    // The part of the surface the draw in progress shows; left is always 0.
    RECT sourceRect{};
    DWORD bltFlags = DDBLTFAST_NOCOLORKEY;

protected:
    // Takes directDraw and backBuffer from the linked device; reports and returns
    // false when there is no device or it is not open.
    bool LinkDevice();

    enum class Upload { Built, NoSurface, NoDC };
    // Makes an off-screen surface of width x height in the display's format
    // into `slot` and draws `picture` into it: scaled by nearest pixel into
    // the whole surface, or unscaled at its top-left corner.
    Upload BuildSurface(IDirectDrawSurface7*& slot, int width, int height, const TBitmap& picture,
                        bool scaled);

    // Reports and returns false when `surface` or the back buffer is absent.
    bool CanDraw(IDirectDrawSurface7* surface);
    // Clips sourceRect placed at (X, Y) to the device's screen and
    // fast-blits that part of `surface` onto the back buffer with bltFlags,
    // again at once while the platform is busy. DD_OK when nothing shows.
    HRESULT BlitClipped(IDirectDrawSurface7* surface);
    // Keys `surface` with the raw value of `color` in its format (its own
    // top-left pixel for CLR_INVALID). An absent surface is left alone.
    static HRESULT KeySurface(IDirectDrawSurface7* surface, COLORREF color);

    // Stores the text, releases `surface`, then tells the owner.
    void ReportWithRelease(IDirectDrawSurface7*& surface, const std::string& text);
    static void ReleaseSurface(IDirectDrawSurface7*& surface);

    void SetTransparencyState(bool value);

private:
    TBitmap bitmap_;
    std::atomic<int> x_{0};
    std::atomic<int> y_{0};
    std::atomic<int> frame_{0};
    int bandHeight_ = 0;
    bool transparency_ = false;
    bool stretching_ = false;
    int stretchWidth_ = 0;
    int stretchHeight_ = 0;
};
