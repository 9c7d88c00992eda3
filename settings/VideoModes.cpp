#include "settings/VideoModes.h"

#include "platform/winapi/DirectDraw.h"
#include "platform/winapi/User.h"

#include <algorithm>

namespace {

void SayNoDisplayObject(HWND owner) { MessageBoxA(owner, "DirectDraw Init FAILED", "Screen saver", MB_OK); }

// Makes a display object for the primary display driver, hands it to `use`
// and releases it; says so in a box when none can be made.
template <class Use>
void WithDirectDraw(HWND owner, Use use) {
    IDirectDraw* directDraw = nullptr;
    if (FAILED(DirectDrawCreate(nullptr, &directDraw, nullptr))) {
        SayNoDisplayObject(owner);
        return;
    }
    use(*directDraw);
    directDraw->Release();
}

// Passes every display mode of `directDraw` to `callback`; false when the
// object has no mode list to offer.
bool EnumerateModes(IDirectDraw& directDraw, void* context, LPDDENUMMODESCALLBACK2 callback) {
    IDirectDraw7* directDraw7 = nullptr;
    if (FAILED(directDraw.QueryInterface(IID_IDirectDraw7, reinterpret_cast<void**>(&directDraw7))))
        return false;
    directDraw7->EnumDisplayModes(0, nullptr, context, callback);
    directDraw7->Release();
    return true;
}

HRESULT CALLBACK MarkMode(DDSURFACEDESC2* mode, LPVOID context) {
    static_cast<VideoModeTable*>(context)->MarkAvailable(int(mode->dwWidth), int(mode->dwHeight),
                                                         int(mode->ddpfPixelFormat.dwRGBBitCount));
    return DDENUMRET_OK;
}

HRESULT CALLBACK NoteModeDepth(DDSURFACEDESC2* mode, LPVOID context) {
    if (mode->ddpfPixelFormat.dwRGBBitCount == 32) *static_cast<bool*>(context) = true;
    return DDENUMRET_OK;
}

}  // namespace

VideoModeTable::VideoModeTable() {
    auto entry = entries_.begin();
    for (const platform::ModeSize size : platform::kFixedModeSizes) {
        for (const int depth : platform::kOfferedDepths) *entry++ = {size.width, size.height, depth, false};
    }
}

void VideoModeTable::MarkAvailable(int width, int height, int bitsPerPixel) {
    for (VideoMode& entry : entries_) {
        if (entry.width == width && entry.height == height && entry.bitsPerPixel == bitsPerPixel) {
            entry.available = true;
            return;
        }
    }
}

bool VideoModeTable::Available(int width, int height, int bitsPerPixel) const {
    const auto found = std::find_if(entries_.begin(), entries_.end(), [&](const VideoMode& entry) {
        return entry.width == width && entry.height == height && entry.bitsPerPixel == bitsPerPixel;
    });
    return found != entries_.end() && found->available;
}

void ProbeDisplayModes(VideoModeTable& table, HWND owner) {
    WithDirectDraw(owner, [&](IDirectDraw& directDraw) { EnumerateModes(directDraw, &table, MarkMode); });
}

bool DisplayOffers32BitMode(HWND owner) {
    bool seen = false;
    WithDirectDraw(owner, [&](IDirectDraw& directDraw) {
        if (!EnumerateModes(directDraw, &seen, NoteModeDepth)) SayNoDisplayObject(owner);
    });
    return seen;
}

bool ProbeGammaSupport(HWND owner) {
    bool supported = false;
    WithDirectDraw(owner, [&](IDirectDraw& directDraw) {
        DDCAPS caps{};
        caps.dwSize = sizeof caps;
        supported =
            SUCCEEDED(directDraw.GetCaps(&caps, nullptr)) && (caps.dwCaps2 & DDCAPS2_PRIMARYGAMMA) != 0;
    });
    return supported;
}
