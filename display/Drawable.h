// What the sprite (Sprite) and the animation strip (AnimationStrip) share:
// the picture with its scaling, the position, the link to the display
// device, the surfaces' upload, and the clipped, colour-keyed fast blit.
#pragma once

#include "display/DisplayComponent.h"
#include "platform/Bitmap.h"
#include "platform/DirectDraw.h"

#include <atomic>
#include <string>

class DisplayDevice;

class Drawable : public DisplayComponent {
public:
    using DisplayComponent::DisplayComponent;
    Drawable(const Drawable&) = delete;
    Drawable& operator=(const Drawable&) = delete;

    const TBitmap& Bitmap() const { return FBitmap; }
    // Keeps a copy of the picture; an absent one is ignored. Used by the next
    // CreateSurface.
    void SetBitmap(const TBitmap* value);

    // Position, frame number: may be stored from the timer thread while the
    // window thread draws; each draw reads them once.
    int GetShowX() const { return FShowX.load(std::memory_order_relaxed); }
    void SetShowX(int value) { FShowX.store(value, std::memory_order_relaxed); }
    int GetShowY() const { return FShowY.load(std::memory_order_relaxed); }
    void SetShowY(int value) { FShowY.store(value, std::memory_order_relaxed); }
    int GetNumberFrame() const { return FNumberFrame.load(std::memory_order_relaxed); }
    void SetNumberFrame(int value) { FNumberFrame.store(value, std::memory_order_relaxed); }

    int GetYOffsetFrame() const { return FYOffsetFrame; }
    void SetYOffsetFrame(int value) { FYOffsetFrame = value; }
    bool Transparency() const { return FTransparency; }
    bool Stretching() const { return FStretching; }
    void SetStretching(bool value) { FStretching = value; }
    int StretchWidth() const { return FStretchWidth; }
    void SetStretchWidth(int value) { FStretchWidth = value; }
    int StretchHeight() const { return FStretchHeight; }
    void SetStretchHeight(int value) { FStretchHeight = value; }

    // The display device drawn on; not owned.
    DisplayDevice* DDmainModule = nullptr;
    // Copies of the device's objects taken by CreateSurface, without a
    // reference of their own: they stay as taken when the device closes.
    IDirectDraw7* FDD = nullptr;
    IDirectDrawSurface7* FDDBACK = nullptr;
    // The part of the surface the draw in progress shows; left is always 0.
    RECT FSrcRect{};
    DWORD FBltFlags = DDBLTFAST_NOCOLORKEY;

protected:
    // Takes FDD and FDDBACK from the linked device; reports and returns
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
    // Clips FSrcRect placed at (ShowX, ShowY) to the device's screen and
    // fast-blits that part of `surface` onto the back buffer with FBltFlags,
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
    TBitmap FBitmap;
    std::atomic<int> FShowX{0};
    std::atomic<int> FShowY{0};
    std::atomic<int> FNumberFrame{0};
    int FYOffsetFrame = 0;
    bool FTransparency = false;
    bool FStretching = false;
    int FStretchWidth = 0;
    int FStretchHeight = 0;
};
