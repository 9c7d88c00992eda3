#include "display/Ddgamma.h"

#include "display/Ddmain.h"

#include <cstdint>

TDDgamma::TDDgamma(TComponent* owner) : TDisplayComponent(owner) {}

TDDgamma::~TDDgamma() {
    if (FGammaControl != nullptr) FGammaControl->Release();
}

bool TDDgamma::Enabled() const {
    std::lock_guard lock(FLock);
    return FEnabled;
}

int TDDgamma::GetRGB() const {
    std::lock_guard lock(FLock);
    return FRGB;
}

void TDDgamma::SetEnabled(bool value) {
    std::lock_guard lock(FLock);
    if (value == FEnabled) return;
    if (value)
        Enable();
    else
        Disable();
}

void TDDgamma::Disable() {
    FEnabled = false;
    if (FGammaControl != nullptr) {
        FGammaControl->Release();
        FGammaControl = nullptr;
    }
}

void TDDgamma::Enable() {
    if (DDmainModule == nullptr) {
        Report("Error connect to DDMAIN");
        return;
    }
    // The lighting enables from the timer's thread while a display failure
    // may be closing the device on the window's.
    const char* failure =
        DDmainModule->WithPrimary([this](IDirectDraw* directDraw, IDirectDrawSurface7* primary) {
            return TakeGammaControl(directDraw, primary);
        });
    // Reported once the device may close again, as the owner's handler may close it.
    if (failure != nullptr) Report(failure);
}

const char* TDDgamma::TakeGammaControl(IDirectDraw* directDraw, IDirectDrawSurface7* primary) {
    if (directDraw == nullptr) return "Error FpDD==NULL";
    if (primary == nullptr) return "Error FpDDSPrimary==NULL";
    DDCAPS caps{};
    caps.dwSize = sizeof caps;
    directDraw->GetCaps(&caps, nullptr);
    if ((caps.dwCaps2 & DDCAPS2_PRIMARYGAMMA) == 0) return nullptr;
    // Enabled only with an interface in hand, so writes never go nowhere.
    if (FAILED(
            primary->QueryInterface(IID_IDirectDrawGammaControl, reinterpret_cast<void**>(&FGammaControl)))) {
        FGammaControl = nullptr;
        return nullptr;
    }
    FEnabled = true;
    return nullptr;
}

void TDDgamma::SetRGB(int step) {
    std::lock_guard lock(FLock);
    FRGB = step;
    if (FEnabled) WriteRamp(step, step, step);
}

void TDDgamma::SetLinearRGB(int red, int green, int blue) {
    std::lock_guard lock(FLock);
    if (FEnabled) WriteRamp(red, green, blue);
}

void TDDgamma::FillRamp(DDGAMMARAMP& ramp, int red, int green, int blue) {
    auto fill = [](WORD* table, int step) {
        std::uint16_t accumulator = 0;
        for (int i = 0; i < 256; ++i) {
            table[i] = accumulator;
            accumulator = std::uint16_t(accumulator + std::uint16_t(step));
        }
    };
    fill(ramp.red, red);
    fill(ramp.green, green);
    fill(ramp.blue, blue);
}

void TDDgamma::WriteRamp(int red, int green, int blue) {
    DDGAMMARAMP ramp{};
    if (FAILED(FGammaControl->GetGammaRamp(0, &ramp))) Report("Cannot GetGammaRamp");
    FillRamp(ramp, red, green, blue);
    if (FAILED(FGammaControl->SetGammaRamp(0, &ramp))) Report("Cannot SetGammaRamp");
}
