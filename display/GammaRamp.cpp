#include "display/GammaRamp.h"

#include "display/DisplayDevice.h"

#include <cstdint>

GammaRamp::GammaRamp(TComponent* owner) : DisplayComponent(owner) {}

GammaRamp::~GammaRamp() {
    if (FGammaControl != nullptr) FGammaControl->Release();
}

bool GammaRamp::Enabled() const {
    std::lock_guard lock(FLock);
    return FEnabled;
}

int GammaRamp::GetRGB() const {
    std::lock_guard lock(FLock);
    return FRGB;
}

void GammaRamp::SetEnabled(bool value) {
    std::lock_guard lock(FLock);
    if (value == FEnabled) return;
    if (value)
        Enable();
    else
        Disable();
}

void GammaRamp::Disable() {
    FEnabled = false;
    if (FGammaControl != nullptr) {
        FGammaControl->Release();
        FGammaControl = nullptr;
    }
}

void GammaRamp::Enable() {
    if (DDmainModule == nullptr) {
        Report("Error connect to DDMAIN");
        return;
    }
    FDirectDraw = DDmainModule->FpDD;
    if (FDirectDraw == nullptr) {
        Report("Error FpDD==NULL");
        return;
    }
    FPrimary = DDmainModule->FpDDSPrimary;
    if (FPrimary == nullptr) {
        Report("Error FpDDSPrimary==NULL");
        return;
    }
    DDCAPS caps{};
    caps.dwSize = sizeof caps;
    FDirectDraw->GetCaps(&caps, nullptr);
    if ((caps.dwCaps2 & DDCAPS2_PRIMARYGAMMA) == 0) return;
    // Enabled only with an interface in hand, so writes never go nowhere.
    if (FAILED(FPrimary->QueryInterface(IID_IDirectDrawGammaControl,
                                        reinterpret_cast<void**>(&FGammaControl)))) {
        FGammaControl = nullptr;
        return;
    }
    FEnabled = true;
}

void GammaRamp::SetRGB(int step) {
    std::lock_guard lock(FLock);
    FRGB = step;
    if (FEnabled) WriteRamp(step, step, step);
}

void GammaRamp::SetLinearRGB(int red, int green, int blue) {
    std::lock_guard lock(FLock);
    if (FEnabled) WriteRamp(red, green, blue);
}

void GammaRamp::FillRamp(DDGAMMARAMP& ramp, int red, int green, int blue) {
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

void GammaRamp::WriteRamp(int red, int green, int blue) {
    DDGAMMARAMP ramp{};
    if (FAILED(FGammaControl->GetGammaRamp(0, &ramp))) Report("Cannot GetGammaRamp");
    FillRamp(ramp, red, green, blue);
    if (FAILED(FGammaControl->SetGammaRamp(0, &ramp))) Report("Cannot SetGammaRamp");
}
