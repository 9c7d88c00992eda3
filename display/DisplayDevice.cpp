#include "display/DisplayDevice.h"

#include "display/GammaRamp.h"
#include "platform/ScreenRamp.h"
#include "platform/winapi/Gdi.h"
#include "platform/winapi/Kernel.h"
#include "platform/winapi/MMSystem.h"
#include "platform/winapi/User.h"

#include <array>
#include <cstdio>
#include <utility>

namespace {

// A back buffer that answers "lost" and "restored" at once would keep the
// clearing loop going for ever.
constexpr int kMaxClearRetries = 8;

struct RestoreText {
    HRESULT code;
    const char* name;
};
constexpr std::array<RestoreText, 9> kRestoreCodes{{
    {DDERR_GENERIC, "DDERR_GENERIC"},
    {DDERR_IMPLICITLYCREATED, "DDERR_IMPLICITLYCREATED"},
    {DDERR_INCOMPATIBLEPRIMARY, "DDERR_INCOMPATIBLEPRIMARY"},
    {DDERR_INVALIDOBJECT, "DDERR_INVALIDOBJECT"},
    {DDERR_INVALIDPARAMS, "DDERR_INVALIDPARAMS"},
    {DDERR_NOEXCLUSIVEMODE, "DDERR_NOEXCLUSIVEMODE"},
    {DDERR_OUTOFMEMORY, "DDERR_OUTOFMEMORY"},
    {DDERR_UNSUPPORTED, "DDERR_UNSUPPORTED"},
    {DDERR_WRONGMODE, "DDERR_WRONGMODE"},
}};

const char* RestoreCodeName(HRESULT code) {
    for (const RestoreText& entry : kRestoreCodes)
        if (entry.code == code) return entry.name;
    return nullptr;
}

template <class Interface>
void ReleaseAndClear(Interface*& object) {
    if (object != nullptr) {
        object->Release();
        object = nullptr;
    }
}

}  // namespace

DisplayDevice::DisplayDevice(TComponent* owner) : DisplayComponent(owner) {}

DisplayDevice::~DisplayDevice() = default;

void DisplayDevice::SetEnabled(bool value) {
    if (value == enabled_) return;
    enabled_ = value;
    if (value)
        OpenDirectDraw();
    else
        CloseDirectDraw();
}

void DisplayDevice::ReportAndClose(const std::string& text) {
    SetErrorText(text);
    CloseDirectDraw();
    NotifyError();
}

void DisplayDevice::OpenDirectDraw() {
    if (dualMonitor_) {
        if (GetSystemMetrics(SM_CMONITORS) < 2) {
            Report("This program work only in dual monitor system!");
            return;
        }
        screensSeen_ = 0;
        rememberedScreen_.reset();
        if (EnumerateScreens() == E_FAIL) Report("ERROR EnumerateScreens");
        GUID device{};
        GUID* chosen = nullptr;
        if (rememberedScreen_) {
            device = *rememberedScreen_;
            chosen = &device;
        }
        if (FAILED(DirectDrawCreate(chosen, &directDraw, nullptr))) {
            directDraw = nullptr;
            ReportAndClose("Error DirectDrawCreate on secondary monitor");
            return;
        }
    } else if (FAILED(DirectDrawCreate(nullptr, &directDraw, nullptr))) {
        directDraw = nullptr;
        ReportAndClose("Error DirectDrawCreate");
        return;
    }
    // Read before the device changes anything.
    screenRamp_ = platform::ReadScreenRamp();

    if (FAILED(directDraw->QueryInterface(IID_IDirectDraw7, reinterpret_cast<void**>(&directDraw7)))) {
        directDraw7 = nullptr;
        ReportAndClose("Error DirectDrawCreate7");
        return;
    }

    if (!useGivenForm_ || displayForm_ == nullptr) displayForm_ = dynamic_cast<TForm*>(Owner());
    const HWND window = displayForm_ != nullptr ? displayForm_->Handle() : 0;

    if (FAILED(directDraw7->SetCooperativeLevel(
            window, DDSCL_FULLSCREEN | DDSCL_ALLOWREBOOT | DDSCL_EXCLUSIVE | DDSCL_ALLOWMODEX))) {
        ReportAndClose("Error SetCooperativeLevel");
        return;
    }
    if (FAILED(directDraw7->SetDisplayMode(DWORD(Width()), DWORD(Height()), DWORD(colorDepth_), 0, 0))) {
        ReportAndClose("Error SetDisplayMode");
        return;
    }

    DDSURFACEDESC2 desc{};
    desc.dwSize = sizeof desc;
    desc.dwFlags = DDSD_CAPS | DDSD_BACKBUFFERCOUNT;
    desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX;
    desc.dwBackBufferCount = 1;
    if (FAILED(directDraw7->CreateSurface(&desc, &primary, nullptr))) {
        primary = nullptr;
        ReportAndClose("Error CreatePrimarySurface");
        return;
    }

    DDSCAPS2 caps{};
    caps.dwCaps = DDSCAPS_BACKBUFFER;
    if (FAILED(primary->GetAttachedSurface(&caps, &backBuffer))) {
        backBuffer = nullptr;
        ReportAndClose("Error CreateBackSurface");
    }
}

void DisplayDevice::CloseDirectDraw() {
    const std::lock_guard lock(releaseLock_);
    PutBackScreenRamp();
    ReleaseAndClear(backBuffer);
    ReleaseAndClear(primary);
    ReleaseAndClear(directDraw7);
    ReleaseAndClear(directDraw);
}

void DisplayDevice::PutBackScreenRamp() {
    // Nothing was opened that could have changed it.
    if (directDraw == nullptr) return;
    bool written = false;
    IDirectDrawGammaControl* control = nullptr;
    if (primary != nullptr &&
        SUCCEEDED(primary->QueryInterface(IID_IDirectDrawGammaControl, reinterpret_cast<void**>(&control)))) {
        written = SUCCEEDED(control->SetGammaRamp(0, &screenRamp_));
        control->Release();
    }
    // A lost or refused primary: the screen's own context still takes it.
    if (!written) platform::WriteScreenRamp(screenRamp_);
}

void DisplayDevice::ClearBackSurface() {
    if (directDraw == nullptr) {
        Report("Error FpDD==NULL");
        return;
    }
    DDBLTFX fx{};
    fx.dwSize = sizeof fx;
    fx.dwFillColor = 0;
    for (int attempt = 0; attempt <= kMaxClearRetries; ++attempt) {
        const HRESULT lost = backBuffer->IsLost();
        if (lost == DD_OK) {
            backBuffer->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx);
            return;
        }
        if (lost != DDERR_SURFACELOST) {
            Report("Unrecognized ERROR ClearBackSurface");
            return;
        }
        if (!RestoreSurfaces()) break;
    }
    Report("Cannot RestoreAllSurfaces");
}

void DisplayDevice::FlipSurfaces() {
    if (directDraw == nullptr) {
        Report("Error FpDD==NULL");
        return;
    }
    if (showFrameRate_) {
        DrawFrameRate();
        if (directDraw == nullptr) return;
    }
    // Which lines show is read once for the whole frame.
    bool shown[kTextLines];
    for (int line = 0; line < kTextLines; ++line) shown[line] = TextLineShown(line);
    for (int line = 0; line < kTextLines; ++line) {
        if (!shown[line]) continue;
        DrawTextAt(TextLine(line), 20, 20 + 20 * line);
        if (directDraw == nullptr) return;
    }
    for (;;) {
        const HRESULT result = primary->Flip(nullptr, 0);
        if (result == DDERR_WASSTILLDRAWING) continue;
        if (result == DDERR_SURFACELOST) RestoreSurfaces();
        return;
    }
}

void DisplayDevice::DrawFrameRate() {
    if (directDraw == nullptr) {
        Report("Error FpDD==NULL");
        return;
    }
    if (++framesInBatch_ == 10) {
        const DWORD previous = lastBatchTime_;
        lastBatchTime_ = timeGetTime();
        const DWORD elapsed = lastBatchTime_ - previous;
        // Ten frames within one millisecond keep the last figure.
        if (elapsed != 0) frameRate_ = int(10.0 / (double(elapsed) * 0.001));
        framesInBatch_ = 0;
    }
    char text[48];
    std::snprintf(text, sizeof text, "Frame rate: %d FPS", frameRate_);
    DrawTextLine(text, 20, Height() - 30, "Error FpDDSBack->GetDC (show FPS)");
}

void DisplayDevice::DrawTextAt(const std::string& text, int x, int y) {
    DrawTextLine(text, x, y, "Error FpDDSBack->GetDC (show TST)");
}

void DisplayDevice::DrawTextLine(std::string_view text, int x, int y, const char* failure) {
    if (backBuffer->IsLost() != DD_OK) return;
    HDC dc = nullptr;
    if (FAILED(backBuffer->GetDC(&dc))) {
        ReportAndClose(failure);
        return;
    }
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(255, 255, 255));
    TextOutA(dc, x, y, text.data(), int(text.size()));
    backBuffer->ReleaseDC(dc);
}

bool DisplayDevice::RestoreSurfaces() {
    if (directDraw == nullptr) {
        Report("Error FpDD==NULL (MakeRestSurface)");
        return false;
    }
    if (directDraw7->RestoreAllSurfaces() == DD_OK) return true;
    if (const char* name = RestoreCodeName(primary->Restore())) {
        Report(std::string("Error Primary ") + name + " (MakeRestSurface)");
        return false;
    }
    if (const char* name = RestoreCodeName(backBuffer->Restore())) {
        Report(std::string("Error FpDDSBack ") + name + " (MakeRestSurface)");
        return false;
    }
    return true;
}

HRESULT DisplayDevice::EnumerateScreens() {
    HMODULE library = LoadLibraryExA("ddraw.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (library == nullptr) return E_FAIL;
    auto enumerate =
        reinterpret_cast<LPDIRECTDRAWENUMERATEEXA>(GetProcAddress(library, "DirectDrawEnumerateExA"));
    if (enumerate == nullptr) {
        FreeLibrary(library);
        return E_FAIL;
    }
    const HRESULT result = enumerate(CountScreen, this, DDENUM_ATTACHEDSECONDARYDEVICES);
    FreeLibrary(library);
    return result;
}

BOOL CALLBACK DisplayDevice::CountScreen(GUID* device, LPSTR, LPSTR, LPVOID context, HMONITOR) {
    auto& self = *static_cast<DisplayDevice*>(context);
    if (++self.screensSeen_ == 3 && device != nullptr) self.rememberedScreen_ = *device;
    return TRUE;
}

std::string DisplayDevice::TextLine(int line) const {
    std::lock_guard lock(textLinesLock_);
    return textLines_[line];
}

void DisplayDevice::SetTextLine(int line, const std::string& text) {
    std::lock_guard lock(textLinesLock_);
    if (textLines_[line] != text) textLines_[line] = text;
}
