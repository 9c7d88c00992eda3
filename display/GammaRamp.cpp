#include "display/GammaRamp.h"

#include "display/DisplayDevice.h"

#include <cstdint>

GammaRamp::GammaRamp(TComponent* owner) : DisplayComponent(owner) {}

GammaRamp::~GammaRamp() {
    if (gammaControl_ != nullptr) gammaControl_->Release();
}

bool GammaRamp::Enabled() const {
    std::lock_guard lock(lock_);
    return enabled_;
}

int GammaRamp::Level() const {
    std::lock_guard lock(lock_);
    return level_;
}

void GammaRamp::SetEnabled(bool value) {
    std::lock_guard lock(lock_);
    if (value == enabled_) return;
    if (value)
        Enable();
    else
        Disable();
}

void GammaRamp::Disable() {
    enabled_ = false;
    if (gammaControl_ != nullptr) {
        gammaControl_->Release();
        gammaControl_ = nullptr;
    }
}

void GammaRamp::Enable() {
    if (device == nullptr) {
        Report("Error connect to DDMAIN");
        return;
    }
    // The lighting enables from the timer's thread while a display failure
    // may be closing the device on the window's.
    const char* failure = device->WithPrimary([this](IDirectDraw* directDraw, IDirectDrawSurface7* primary) {
        return TakeGammaControl(directDraw, primary);
    });
    // Reported once the device may close again, as the owner's handler may close it.
    if (failure != nullptr) Report(failure);
}

const char* GammaRamp::TakeGammaControl(IDirectDraw* directDraw, IDirectDrawSurface7* primary) {
    if (directDraw == nullptr) return "Error FpDD==NULL";
    if (primary == nullptr) return "Error FpDDSPrimary==NULL";
    DDCAPS caps{};
    caps.dwSize = sizeof caps;
    directDraw->GetCaps(&caps, nullptr);
    if ((caps.dwCaps2 & DDCAPS2_PRIMARYGAMMA) == 0) return nullptr;
    // Enabled only with an interface in hand, so writes never go nowhere.
    if (FAILED(
            primary->QueryInterface(IID_IDirectDrawGammaControl, reinterpret_cast<void**>(&gammaControl_)))) {
        gammaControl_ = nullptr;
        return nullptr;
    }
    enabled_ = true;
    return nullptr;
}

void GammaRamp::SetLevel(int step) {
    std::lock_guard lock(lock_);
    level_ = step;
    if (enabled_) WriteRamp(step, step, step);
}

void GammaRamp::SetChannelLevels(int red, int green, int blue) {
    std::lock_guard lock(lock_);
    if (enabled_) WriteRamp(red, green, blue);
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
    if (FAILED(gammaControl_->GetGammaRamp(0, &ramp))) Report("Cannot GetGammaRamp");
    FillRamp(ramp, red, green, blue);
    if (FAILED(gammaControl_->SetGammaRamp(0, &ramp))) Report("Cannot SetGammaRamp");
}
