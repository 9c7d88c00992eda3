// A software surface of a display device: pixels in the display's format, a
// source colour key with the opaque runs cached for keyed blits, the lock
// and device-context state, and its place in the flip chain. Internal to
// platform/.
#pragma once

#include "platform/directdraw/ComObject.h"
#include "platform/directdraw/DisplayCore.h"
#include "platform/directdraw/OpaqueRuns.h"
#include "platform/seam/Backend.h"
#include "platform/winapi/DirectDraw.h"

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <optional>
#include <vector>

namespace platform {

enum class SurfaceRole { OffScreen, Primary, BackBuffer };

// A surface's pixels, black at first: fresh pages from the system, which
// come zeroed, so a surface written whole right after is not written twice.
// Large ones are mapped with all their pages at once rather than one fault
// a page as they are first written.
struct FreePixels {
    std::size_t mapped = 0;  // bytes mapped; 0: from calloc
    void operator()(std::uint8_t* pixels) const;
};
using PixelMemory = std::unique_ptr<std::uint8_t[], FreePixels>;
// Null when memory is short.
PixelMemory AllocatePixels(std::size_t bytes);

class Surface final : public ComObject<IDirectDrawSurface7> {
public:
    // The largest width or height of a surface.
    static constexpr int kMaxSide = 16384;

    // An off-screen plain surface at the core's surface depth.
    static HRESULT MakeOffScreen(std::shared_ptr<DisplayCore> core, int width, int height,
                                 IDirectDrawSurface7** out);
    // The flip chain at the core's surface mode: a primary that holds one
    // reference to its back buffer.
    static HRESULT MakeFlipChain(std::shared_ptr<DisplayCore> core, IDirectDrawSurface7** out);

    HRESULT QueryInterface(REFIID iid, void** object) override;
    HRESULT GetAttachedSurface(DDSCAPS2* caps, IDirectDrawSurface7** surface) override;
    // Exchanges the pixels of front and back, then presents the new front.
    HRESULT Flip(IDirectDrawSurface7* target, DWORD flags) override;
    HRESULT IsLost() override;
    HRESULT Restore() override;
    // Colour fill only.
    HRESULT Blt(RECT* dest, IDirectDrawSurface7* source, RECT* sourceRect, DWORD flags, DDBLTFX* fx) override;
    // No clipping: a rectangle that leaves the source or this surface is refused.
    HRESULT BltFast(DWORD x, DWORD y, IDirectDrawSurface7* source, RECT* sourceRect, DWORD flags) override;
    HRESULT SetColorKey(DWORD flags, DDCOLORKEY* key) override;
    HRESULT Lock(RECT* rect, DDSURFACEDESC2* desc, DWORD flags, void* event) override;
    HRESULT Unlock(RECT* rect) override;
    HRESULT GetDC(HDC* dc) override;
    HRESULT ReleaseDC(HDC dc) override;
    HRESULT GetSurfaceDesc(DDSURFACEDESC2* desc) override;

private:
    Surface(std::shared_ptr<DisplayCore> core, SurfaceRole role, int width, int height, int bitsPerPixel,
            PixelMemory pixels);
    ~Surface() override;

    static HRESULT Make(const std::shared_ptr<DisplayCore>& core, SurfaceRole role, int width, int height,
                        Surface** out);

    PixelView View() const;
    bool Lost() const { return core_->LostSince(restoredEpoch_); }
    bool Busy() const { return locked_ || dc_ != nullptr; }
    bool Holds(std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom) const;
    bool Holds(const RECT& r) const { return Holds(r.left, r.top, r.right, r.bottom); }
    RECT Whole() const { return {0, 0, width_, height_}; }
    std::uint8_t* At(int x, int y) {
        return pixels_.get() + std::size_t(y) * pitch_ + std::size_t(x) * bytesPerPixel_;
    }
    void Describe(DDSURFACEDESC2& desc) const;
    void Fill(const RECT& area, std::uint32_t value);
    // The contents are about to change: the cached runs no longer hold.
    void DropRuns() { runsValid_ = false; }
    // The opaque runs for the current key, built on first use; null when
    // memory is short.
    const OpaqueRuns* Runs();
    void CopyRows(Surface& source, const RECT& from, int x, int y);
    void CopyOpaqueRuns(Surface& source, const OpaqueRuns& runs, const RECT& from, int x, int y);

    std::shared_ptr<DisplayCore> core_;
    SurfaceRole role_;
    int width_;
    int height_;
    int bitsPerPixel_;
    int bytesPerPixel_;
    int pitch_;
    PixelMemory pixels_;
    Surface* back_ = nullptr;  // the primary's back buffer, one reference held
    std::uint64_t restoredEpoch_;
    std::optional<std::uint32_t> key_;
    OpaqueRuns runs_;
    bool runsValid_ = false;
    bool locked_ = false;
    HDC dc_ = nullptr;
};

}  // namespace platform
