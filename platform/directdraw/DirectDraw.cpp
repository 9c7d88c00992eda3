#include "platform/winapi/DirectDraw.h"

#include "platform/directdraw/ComObject.h"
#include "platform/directdraw/DisplayCore.h"
#include "platform/directdraw/Surface.h"
#include "platform/pixels/PixelFormat.h"
#include "platform/seam/Backend.h"

#include <algorithm>
#include <memory>
#include <new>
#include <string>

namespace platform {
namespace {

// The forced answer of `op` on a back end that forces any; made before a
// device exists, so asked of the back end itself.
std::optional<HRESULT> BackendFault(DisplayOp op) {
    DisplayFaults* faults = CurrentBackend().Faults();
    return faults != nullptr ? faults->Take(op) : std::nullopt;
}

// The identifier of monitor `index`, as the enumeration reports it.
GUID MonitorGuid(int index) {
    return {0x5d3e7a10, 0x6c2b, 0x4e81, {0x9a, 0x44, 0x2f, 0x71, 0x0c, 0xd5, 0x00, BYTE(index)}};
}

bool IsMonitorGuid(const GUID& guid) {
    const int monitors = std::min(CurrentBackend().MonitorCount(), 256);
    for (int i = 0; i < monitors; ++i) {
        if (guid == MonitorGuid(i)) return true;
    }
    return false;
}

DDSURFACEDESC2 DescribeMode(const ScreenMode& mode) {
    DDSURFACEDESC2 desc{};
    desc.dwSize = sizeof(DDSURFACEDESC2);
    desc.dwFlags = DDSD_WIDTH | DDSD_HEIGHT | DDSD_PITCH | DDSD_PIXELFORMAT;
    desc.dwWidth = DWORD(mode.width);
    desc.dwHeight = DWORD(mode.height);
    desc.lPitch = RowPitch(mode.width, mode.bitsPerPixel);
    desc.ddpfPixelFormat = DescribePixelFormat(mode.bitsPerPixel);
    return desc;
}

// Whether a mode passes the filter of EnumDisplayModes (fields it names).
bool PassesFilter(const ScreenMode& mode, const DDSURFACEDESC2* filter) {
    if (filter == nullptr) return true;
    if ((filter->dwFlags & DDSD_WIDTH) != 0 && filter->dwWidth != DWORD(mode.width)) return false;
    if ((filter->dwFlags & DDSD_HEIGHT) != 0 && filter->dwHeight != DWORD(mode.height)) {
        return false;
    }
    return (filter->dwFlags & DDSD_PIXELFORMAT) == 0 ||
           filter->ddpfPixelFormat.dwRGBBitCount == DWORD(mode.bitsPerPixel);
}

// The device object: the base interface DirectDrawCreate gives and its
// IDirectDraw7 view share one reference count. Its surfaces share its core,
// so they stay valid when released after it.
class Device final : public ComObject<IDirectDraw, IDirectDraw7> {
public:
    Device() : core_(std::make_shared<DisplayCore>()) { RegisterLiveDevice(core_.get()); }

    HRESULT QueryInterface(REFIID iid, void** object) override {
        if (object != nullptr) *object = nullptr;
        if (const auto fault = core_->Fault(DisplayOp::QueryInterface)) return *fault;
        if (object == nullptr) return DDERR_INVALIDPARAMS;
        if (!(iid == IID_IDirectDraw7)) return E_NOINTERFACE;
        AddRef();
        *object = static_cast<IDirectDraw7*>(this);
        return DD_OK;
    }

    HRESULT SetCooperativeLevel(HWND window, DWORD flags) override {
        if (const auto fault = core_->Fault(DisplayOp::SetCooperativeLevel)) return *fault;
        const bool fullScreen = (flags & DDSCL_FULLSCREEN) != 0;
        const bool exclusive = (flags & DDSCL_EXCLUSIVE) != 0;
        const bool normal = (flags & DDSCL_NORMAL) != 0;
        if (fullScreen != exclusive || normal == fullScreen) return DDERR_INVALIDPARAMS;
        if (!fullScreen) {
            LeaveExclusive();
            core_->window = window;
            return DD_OK;
        }
        if (window == 0 || !CurrentBackend().WindowExists(window)) return DDERR_INVALIDPARAMS;
        if (core_->exclusive && core_->window == window) return DD_OK;
        LeaveExclusive();
        CurrentBackend().EnterFullScreen(window);
        core_->window = window;
        core_->exclusive = true;
        return DD_OK;
    }

    // Only the back end's offered modes; the real video mode never changes.
    HRESULT SetDisplayMode(DWORD width, DWORD height, DWORD bitsPerPixel, DWORD refreshRate,
                           DWORD flags) override {
        if (const auto fault = core_->Fault(DisplayOp::SetDisplayMode)) return *fault;
        if (flags != 0) return DDERR_INVALIDPARAMS;
        if (!core_->exclusive) return DDERR_NOEXCLUSIVEMODE;
        const ScreenMode wanted{int(width), int(height), int(bitsPerPixel)};
        const std::vector<ScreenMode> offered = CurrentBackend().OfferedModes();
        if (refreshRate != 0 || std::find(offered.begin(), offered.end(), wanted) == offered.end()) {
            return DDERR_INVALIDMODE;
        }
        ChangeMode(wanted);
        return DD_OK;
    }

    HRESULT RestoreDisplayMode() override {
        ChangeMode(std::nullopt);
        return DD_OK;
    }

    HRESULT CreateSurface(DDSURFACEDESC2* desc, IDirectDrawSurface7** surface, IUnknown* outer) override {
        if (surface != nullptr) *surface = nullptr;
        if (const auto fault = core_->Fault(DisplayOp::CreateSurface)) return *fault;
        if (desc == nullptr || desc->dwSize != sizeof(DDSURFACEDESC2) || surface == nullptr ||
            outer != nullptr) {
            return DDERR_INVALIDPARAMS;
        }
        if ((desc->dwFlags & DDSD_PIXELFORMAT) != 0 &&
            desc->ddpfPixelFormat.dwRGBBitCount != DWORD(core_->SurfaceMode().bitsPerPixel)) {
            return DDERR_INVALIDPIXELFORMAT;
        }
        const DWORD caps = (desc->dwFlags & DDSD_CAPS) != 0 ? desc->ddsCaps.dwCaps : 0;
        if ((caps & DDSCAPS_PRIMARYSURFACE) != 0) return CreateFlipChain(*desc, surface);
        if ((caps & (DDSCAPS_BACKBUFFER | DDSCAPS_FRONTBUFFER | DDSCAPS_FLIP | DDSCAPS_COMPLEX)) != 0 ||
            (desc->dwFlags & (DDSD_WIDTH | DDSD_HEIGHT)) != (DDSD_WIDTH | DDSD_HEIGHT) ||
            desc->dwWidth > DWORD(Surface::kMaxSide) || desc->dwHeight > DWORD(Surface::kMaxSide)) {
            return DDERR_INVALIDPARAMS;
        }
        return Surface::MakeOffScreen(core_, int(desc->dwWidth), int(desc->dwHeight), surface);
    }

    HRESULT RestoreAllSurfaces() override {
        if (const auto fault = core_->Fault(DisplayOp::RestoreAllSurfaces)) return *fault;
        core_->RestoreAllSurfaces();
        return DD_OK;
    }

    HRESULT EnumDisplayModes(DWORD, DDSURFACEDESC2* filter, void* context,
                             LPDDENUMMODESCALLBACK2 callback) override {
        if (const auto fault = core_->Fault(DisplayOp::EnumDisplayModes)) return *fault;
        if (callback == nullptr) return DDERR_INVALIDPARAMS;
        for (const ScreenMode& mode : CurrentBackend().OfferedModes()) {
            if (!PassesFilter(mode, filter)) continue;
            DDSURFACEDESC2 desc = DescribeMode(mode);
            if (callback(&desc, context) == HRESULT(DDENUMRET_CANCEL)) break;
        }
        return DD_OK;
    }

    HRESULT GetCaps(DDCAPS* driverCaps, DDCAPS* emulationCaps) override {
        if (const auto fault = core_->Fault(DisplayOp::GetCaps)) return *fault;
        if ((driverCaps == nullptr && emulationCaps == nullptr) ||
            (driverCaps != nullptr && driverCaps->dwSize != sizeof(DDCAPS)) ||
            (emulationCaps != nullptr && emulationCaps->dwSize != sizeof(DDCAPS))) {
            return DDERR_INVALIDPARAMS;
        }
        if (driverCaps != nullptr) {
            *driverCaps = DDCAPS{};
            driverCaps->dwSize = sizeof(DDCAPS);
            if (CurrentBackend().SupportsGamma()) driverCaps->dwCaps2 = DDCAPS2_PRIMARYGAMMA;
        }
        if (emulationCaps != nullptr) {
            *emulationCaps = DDCAPS{};
            emulationCaps->dwSize = sizeof(DDCAPS);
        }
        return DD_OK;
    }

private:
    ~Device() override {
        LeaveExclusive();
        UnregisterLiveDevice(core_.get());
    }

    HRESULT CreateFlipChain(const DDSURFACEDESC2& desc, IDirectDrawSurface7** surface) {
        const DWORD chain = DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX;
        if ((desc.ddsCaps.dwCaps & chain) != chain || (desc.dwFlags & DDSD_BACKBUFFERCOUNT) == 0 ||
            desc.dwBackBufferCount != 1) {
            return DDERR_UNSUPPORTED;
        }
        if (!core_->exclusive) return DDERR_NOEXCLUSIVEMODE;
        if (core_->hasPrimary) return DDERR_PRIMARYSURFACEALREADYEXISTS;
        return Surface::MakeFlipChain(core_, surface);
    }

    // A new mode invalidates the surfaces made in the old one.
    void ChangeMode(std::optional<ScreenMode> mode) {
        const ScreenMode before = core_->SurfaceMode();
        core_->mode = mode;
        if (!(core_->SurfaceMode() == before)) core_->LoseSurfaces();
    }

    // The screen goes back to the desktop.
    void LeaveExclusive() {
        if (!core_->exclusive) return;
        core_->exclusive = false;
        ChangeMode(std::nullopt);
        CurrentBackend().LeaveFullScreen(core_->window);
    }

    std::shared_ptr<DisplayCore> core_;
};

}  // namespace
}  // namespace platform

HRESULT DirectDrawCreate(GUID* device, IDirectDraw** directDraw, IUnknown* outer) {
    using namespace platform;
    if (directDraw != nullptr) *directDraw = nullptr;
    if (const auto fault = BackendFault(DisplayOp::DirectDrawCreate)) return *fault;
    if (directDraw == nullptr || outer != nullptr) return DDERR_INVALIDPARAMS;
    if (device != nullptr && !IsMonitorGuid(*device)) return DDERR_INVALIDPARAMS;
    try {
        *directDraw = new Device();
    } catch (const std::bad_alloc&) {
        return DDERR_OUTOFMEMORY;
    }
    return DD_OK;
}

HRESULT DirectDrawEnumerateExA(LPDDENUMCALLBACKEXA callback, void* context, DWORD flags) {
    using namespace platform;
    if (const auto fault = BackendFault(DisplayOp::DirectDrawEnumerateEx)) return *fault;
    if (callback == nullptr) return DDERR_INVALIDPARAMS;
    std::string description = "Primary Display Driver";
    std::string name = "display";
    if (!callback(nullptr, description.data(), name.data(), context, nullptr)) return DD_OK;
    if ((flags & DDENUM_ATTACHEDSECONDARYDEVICES) == 0) return DD_OK;
    const int monitors = std::min(CurrentBackend().MonitorCount(), 256);
    for (int i = 0; i < monitors; ++i) {
        GUID guid = MonitorGuid(i);
        description = "Monitor " + std::to_string(i + 1);
        name = "display" + std::to_string(i + 1);
        if (!callback(&guid, description.data(), name.data(), context, nullptr)) break;
    }
    return DD_OK;
}
