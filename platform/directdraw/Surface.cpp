#include "platform/directdraw/Surface.h"

#include "platform/gdi/DeviceContext.h"
#include "platform/pixels/PixelFormat.h"
#include "platform/pixels/PixelRows.h"

#include <sys/mman.h>

#include <algorithm>
#include <cstring>
#include <new>

namespace platform {

namespace {

// From here on a mapping of its own pays: its pages come in one call.
constexpr std::size_t kMappedPixels = std::size_t(256) << 10;

}  // namespace

void FreePixels::operator()(std::uint8_t* pixels) const {
    if (mapped != 0) {
        munmap(pixels, mapped);
    } else {
        std::free(pixels);
    }
}

PixelMemory AllocatePixels(std::size_t bytes) {
    if (bytes < kMappedPixels) return PixelMemory(static_cast<std::uint8_t*>(std::calloc(bytes, 1)));
    void* mapped =
        mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_POPULATE, -1, 0);
    if (mapped == MAP_FAILED) return PixelMemory();
    return PixelMemory(static_cast<std::uint8_t*>(mapped), FreePixels{bytes});
}

Surface::Surface(std::shared_ptr<DisplayCore> core, SurfaceRole role, int width, int height, int bitsPerPixel,
                 PixelMemory pixels)
    : core_(std::move(core)),
      role_(role),
      width_(width),
      height_(height),
      bitsPerPixel_(bitsPerPixel),
      bytesPerPixel_(BytesPerPixel(bitsPerPixel)),
      pitch_(RowPitch(width, bitsPerPixel)),
      pixels_(std::move(pixels)),
      restoredEpoch_(core_->LossEpoch()) {}

Surface::~Surface() {
    if (dc_ != nullptr) DestroyDC(dc_);
    if (role_ == SurfaceRole::Primary) {
        core_->hasPrimary = false;
        if (back_ != nullptr) back_->Release();
    }
}

HRESULT Surface::Make(const std::shared_ptr<DisplayCore>& core, SurfaceRole role, int width, int height,
                      Surface** out) {
    if (width < 1 || height < 1 || width > kMaxSide || height > kMaxSide) {
        return DDERR_INVALIDPARAMS;
    }
    const int bitsPerPixel = core->SurfaceMode().bitsPerPixel;
    if (!IsSurfaceDepth(bitsPerPixel)) return DDERR_INVALIDPIXELFORMAT;
    PixelMemory pixels = AllocatePixels(std::size_t(RowPitch(width, bitsPerPixel)) * height);
    if (!pixels) return DDERR_OUTOFMEMORY;
    try {
        *out = new Surface(core, role, width, height, bitsPerPixel, std::move(pixels));
    } catch (const std::bad_alloc&) {
        return DDERR_OUTOFMEMORY;
    }
    return DD_OK;
}

HRESULT Surface::MakeOffScreen(std::shared_ptr<DisplayCore> core, int width, int height,
                               IDirectDrawSurface7** out) {
    Surface* surface = nullptr;
    const HRESULT result = Make(core, SurfaceRole::OffScreen, width, height, &surface);
    if (SUCCEEDED(result)) *out = surface;
    return result;
}

HRESULT Surface::MakeFlipChain(std::shared_ptr<DisplayCore> core, IDirectDrawSurface7** out) {
    const ScreenMode mode = core->SurfaceMode();
    Surface* primary = nullptr;
    HRESULT result = Make(core, SurfaceRole::Primary, mode.width, mode.height, &primary);
    if (FAILED(result)) return result;
    Surface* back = nullptr;
    result = Make(core, SurfaceRole::BackBuffer, mode.width, mode.height, &back);
    if (FAILED(result)) {
        primary->Release();
        return result;
    }
    primary->back_ = back;
    core->hasPrimary = true;
    *out = primary;
    return DD_OK;
}

PixelView Surface::View() const { return {pixels_.get(), width_, height_, pitch_, bitsPerPixel_}; }

bool Surface::Holds(std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom) const {
    return 0 <= left && left < right && right <= width_ && 0 <= top && top < bottom && bottom <= height_;
}

void Surface::Describe(DDSURFACEDESC2& desc) const {
    const DWORD size = desc.dwSize;
    desc = DDSURFACEDESC2{};
    desc.dwSize = size;
    desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PITCH | DDSD_PIXELFORMAT;
    desc.dwWidth = DWORD(width_);
    desc.dwHeight = DWORD(height_);
    desc.lPitch = pitch_;
    desc.ddpfPixelFormat = DescribePixelFormat(bitsPerPixel_);
    switch (role_) {
    case SurfaceRole::OffScreen:
        desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN;
        break;
    case SurfaceRole::Primary:
        desc.dwFlags |= DDSD_BACKBUFFERCOUNT;
        desc.dwBackBufferCount = 1;
        desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_FRONTBUFFER | DDSCAPS_FLIP | DDSCAPS_COMPLEX;
        break;
    case SurfaceRole::BackBuffer:
        desc.ddsCaps.dwCaps = DDSCAPS_BACKBUFFER | DDSCAPS_FLIP | DDSCAPS_COMPLEX;
        break;
    }
}

HRESULT Surface::QueryInterface(REFIID iid, void** object) {
    if (object != nullptr) *object = nullptr;
    if (const auto fault = core_->Fault(DisplayOp::QueryInterface)) return *fault;
    if (object == nullptr) return DDERR_INVALIDPARAMS;
    if (!(iid == IID_IDirectDrawGammaControl) || role_ != SurfaceRole::Primary ||
        !CurrentBackend().SupportsGamma()) {
        return E_NOINTERFACE;
    }
    IDirectDrawGammaControl* control = MakeGammaControl(core_);
    if (control == nullptr) return DDERR_OUTOFMEMORY;
    *object = control;
    return DD_OK;
}

HRESULT Surface::GetAttachedSurface(DDSCAPS2* caps, IDirectDrawSurface7** surface) {
    if (surface != nullptr) *surface = nullptr;
    if (const auto fault = core_->Fault(DisplayOp::GetAttachedSurface)) return *fault;
    if (caps == nullptr || surface == nullptr) return DDERR_INVALIDPARAMS;
    if ((caps->dwCaps & DDSCAPS_BACKBUFFER) == 0 || back_ == nullptr) return DDERR_NOTFOUND;
    back_->AddRef();
    *surface = back_;
    return DD_OK;
}

HRESULT Surface::Flip(IDirectDrawSurface7* target, DWORD flags) {
    if (const auto fault = core_->Fault(DisplayOp::Flip)) return *fault;
    if (back_ == nullptr) return DDERR_NOTFLIPPABLE;
    if ((target != nullptr && target != back_) || (flags & ~DDFLIP_WAIT) != 0) {
        return DDERR_INVALIDPARAMS;
    }
    if (!core_->exclusive) return DDERR_NOEXCLUSIVEMODE;
    if (Lost() || back_->Lost()) return DDERR_SURFACELOST;
    if (Busy() || back_->Busy()) return DDERR_SURFACEBUSY;
    pixels_.swap(back_->pixels_);
    DropRuns();
    back_->DropRuns();
    CurrentBackend().Present(core_->window, View(), core_->Ramp());
    return DD_OK;
}

HRESULT Surface::IsLost() {
    if (const auto fault = core_->Fault(DisplayOp::IsLost)) return *fault;
    return Lost() ? DDERR_SURFACELOST : DD_OK;
}

HRESULT Surface::Restore() {
    if (const auto fault = core_->Fault(DisplayOp::Restore)) return *fault;
    restoredEpoch_ = core_->LossEpoch();
    if (back_ != nullptr) back_->restoredEpoch_ = restoredEpoch_;
    return DD_OK;
}

HRESULT Surface::Blt(RECT* dest, IDirectDrawSurface7*, RECT*, DWORD flags, DDBLTFX* fx) {
    if (const auto fault = core_->Fault(DisplayOp::Blt)) return *fault;
    if ((flags & DDBLT_COLORFILL) == 0 || (flags & ~(DDBLT_COLORFILL | DDBLT_WAIT)) != 0) {
        return DDERR_UNSUPPORTED;
    }
    if (fx == nullptr || fx->dwSize != sizeof(DDBLTFX)) return DDERR_INVALIDPARAMS;
    const RECT area = dest != nullptr ? *dest : Whole();
    if (!Holds(area)) return DDERR_INVALIDRECT;
    if (Lost()) return DDERR_SURFACELOST;
    if (Busy()) return DDERR_SURFACEBUSY;
    Fill(area, fx->dwFillColor & PixelValueMask(bitsPerPixel_));
    DropRuns();
    return DD_OK;
}

void Surface::Fill(const RECT& area, std::uint32_t value) {
    const std::size_t rowBytes = std::size_t(area.right - area.left) * bytesPerPixel_;
    const int rows = area.bottom - area.top;
    const bool streaming = rows::Streams(rowBytes * rows);
    std::uint8_t bytes[4];
    std::memcpy(bytes, &value, sizeof bytes);
    if (std::all_of(bytes, bytes + bytesPerPixel_, [&](std::uint8_t b) { return b == bytes[0]; })) {
        // The clear of every frame: one byte repeated, the whole surface at
        // once where its rows lie back to back.
        if (rowBytes == std::size_t(pitch_)) {
            rows::Fill(At(area.left, area.top), bytes[0], rowBytes * rows, streaming);
        } else {
            for (int y = area.top; y < area.bottom; ++y)
                rows::Fill(At(area.left, y), bytes[0], rowBytes, streaming);
        }
    } else {
        std::uint8_t* first = At(area.left, area.top);
        for (std::size_t offset = 0; offset < rowBytes; offset += bytesPerPixel_) {
            std::memcpy(first + offset, &value, bytesPerPixel_);
        }
        for (int y = area.top + 1; y < area.bottom; ++y)
            rows::Copy(At(area.left, y), first, rowBytes, streaming);
    }
    if (streaming) rows::StreamFence();
}

HRESULT Surface::BltFast(DWORD x, DWORD y, IDirectDrawSurface7* source, RECT* sourceRect, DWORD flags) {
    if (const auto fault = core_->Fault(DisplayOp::BltFast)) return *fault;
    auto* from = dynamic_cast<Surface*>(source);
    if (from == nullptr || (flags & ~(DDBLTFAST_SRCCOLORKEY | DDBLTFAST_WAIT)) != 0) {
        return DDERR_INVALIDPARAMS;
    }
    if (from->bitsPerPixel_ != bitsPerPixel_) return DDERR_INVALIDPIXELFORMAT;
    const RECT rect = sourceRect != nullptr ? *sourceRect : from->Whole();
    if (!from->Holds(rect) ||
        !Holds(x, y, std::int64_t(x) + rect.right - rect.left, std::int64_t(y) + rect.bottom - rect.top)) {
        return DDERR_INVALIDRECT;
    }
    if (Lost() || from->Lost()) return DDERR_SURFACELOST;
    if (Busy() || from->Busy()) return DDERR_SURFACEBUSY;
    if ((flags & DDBLTFAST_SRCCOLORKEY) != 0) {
        if (!from->key_) return DDERR_NOCOLORKEY;
        const OpaqueRuns* runs = from->Runs();
        if (runs == nullptr) return DDERR_OUTOFMEMORY;
        CopyOpaqueRuns(*from, *runs, rect, int(x), int(y));
    } else {
        CopyRows(*from, rect, int(x), int(y));
    }
    DropRuns();
    return DD_OK;
}

const OpaqueRuns* Surface::Runs() {
    if (!runsValid_) {
        try {
            runs_.Build(View(), *key_);
        } catch (const std::bad_alloc&) {
            return nullptr;
        }
        runsValid_ = true;
    }
    return &runs_;
}

// Within one surface the rows and runs are copied in the order that reads
// every source pixel before it is overwritten; between two surfaces, large
// blits write past the caches.
void Surface::CopyRows(Surface& source, const RECT& from, int x, int y) {
    const int rows = from.bottom - from.top;
    const std::size_t rowBytes = std::size_t(from.right - from.left) * bytesPerPixel_;
    if (&source == this) {
        const bool bottomUp = y > from.top;
        for (int i = 0; i < rows; ++i) {
            const int row = bottomUp ? rows - 1 - i : i;
            std::memmove(At(x, y + row), source.At(from.left, from.top + row), rowBytes);
        }
        return;
    }
    const bool streaming = rows::Streams(rowBytes * rows);
    for (int row = 0; row < rows; ++row) {
        rows::Copy(At(x, y + row), source.At(from.left, from.top + row), rowBytes, streaming);
    }
    if (streaming) rows::StreamFence();
}

void Surface::CopyOpaqueRuns(Surface& source, const OpaqueRuns& runs, const RECT& from, int x, int y) {
    using Run = OpaqueRuns::Run;
    const int rows = from.bottom - from.top;
    const auto left = std::uint32_t(from.left);
    const auto right = std::uint32_t(from.right);
    const auto bytes = std::size_t(bytesPerPixel_);
    const bool same = &source == this;
    const bool bottomUp = same && y > from.top;
    const bool rightToLeft = same && x > from.left;
    const bool streaming = !same && rows::Streams((right - left) * bytes * rows);
    for (int i = 0; i < rows; ++i) {
        const int row = bottomUp ? rows - 1 - i : i;
        const std::span<const Run> all = runs.Row(from.top + row);
        const auto first = std::partition_point(all.begin(), all.end(),
                                                [left](const Run& r) { return r.start + r.length <= left; });
        const auto last =
            std::partition_point(first, all.end(), [right](const Run& r) { return r.start < right; });
        std::uint8_t* target = At(x, y + row);
        const std::uint8_t* origin = source.At(0, from.top + row);
        const auto copy = [&](const Run& run) {
            const std::uint32_t start = std::max(run.start, left);
            const std::uint32_t end = std::min(run.start + run.length, right);
            std::uint8_t* to = target + (start - left) * bytes;
            const std::uint8_t* in = origin + start * bytes;
            if (same) {
                std::memmove(to, in, (end - start) * bytes);
            } else {
                rows::Copy(to, in, (end - start) * bytes, streaming);
            }
        };
        if (rightToLeft) {
            for (auto it = last; it != first;) copy(*--it);
        } else {
            for (auto it = first; it != last; ++it) copy(*it);
        }
    }
    if (streaming) rows::StreamFence();
}

HRESULT Surface::SetColorKey(DWORD flags, DDCOLORKEY* key) {
    if (const auto fault = core_->Fault(DisplayOp::SetColorKey)) return *fault;
    if (flags != DDCKEY_SRCBLT) return DDERR_UNSUPPORTED;
    if (key == nullptr) {
        key_.reset();
        DropRuns();
        return DD_OK;
    }
    if (key->dwColorSpaceLowValue != key->dwColorSpaceHighValue) return DDERR_UNSUPPORTED;
    const std::uint32_t value = key->dwColorSpaceLowValue & PixelValueMask(bitsPerPixel_);
    if (key_ != value) {
        key_ = value;
        DropRuns();
    }
    return DD_OK;
}

HRESULT Surface::Lock(RECT* rect, DDSURFACEDESC2* desc, DWORD, void*) {
    if (const auto fault = core_->Fault(DisplayOp::Lock)) return *fault;
    if (desc == nullptr || desc->dwSize != sizeof(DDSURFACEDESC2)) return DDERR_INVALIDPARAMS;
    if (rect != nullptr && !Holds(*rect)) return DDERR_INVALIDRECT;
    if (Lost()) return DDERR_SURFACELOST;
    if (Busy()) return DDERR_SURFACEBUSY;
    Describe(*desc);
    desc->dwFlags |= DDSD_LPSURFACE;
    desc->lpSurface = rect != nullptr ? At(rect->left, rect->top) : pixels_.get();
    locked_ = true;
    DropRuns();
    return DD_OK;
}

HRESULT Surface::Unlock(RECT*) {
    if (!locked_) return DDERR_NOTLOCKED;
    locked_ = false;
    return DD_OK;
}

HRESULT Surface::GetDC(HDC* dc) {
    if (dc != nullptr) *dc = nullptr;
    if (const auto fault = core_->Fault(DisplayOp::GetDC)) return *fault;
    if (dc == nullptr) return DDERR_INVALIDPARAMS;
    if (Lost()) return DDERR_SURFACELOST;
    if (dc_ != nullptr) return DDERR_DCALREADYCREATED;
    if (locked_) return DDERR_SURFACEBUSY;
    const HDC made = CreateSurfaceDC({pixels_.get(), width_, height_, pitch_, bitsPerPixel_});
    if (made == nullptr) return DDERR_CANTCREATEDC;
    dc_ = made;
    DropRuns();
    *dc = made;
    return DD_OK;
}

HRESULT Surface::ReleaseDC(HDC dc) {
    if (dc_ == nullptr || dc != dc_) return DDERR_INVALIDPARAMS;
    DestroyDC(dc_);
    dc_ = nullptr;
    return DD_OK;
}

HRESULT Surface::GetSurfaceDesc(DDSURFACEDESC2* desc) {
    if (desc == nullptr || desc->dwSize != sizeof(DDSURFACEDESC2)) return DDERR_INVALIDPARAMS;
    Describe(*desc);
    return DD_OK;
}

}  // namespace platform
