#include "platform/directdraw/DisplayCore.h"

#include "platform/directdraw/ComObject.h"
#include "platform/directdraw/Presentation.h"

#include <algorithm>
#include <new>
#include <vector>

namespace platform {
namespace {

struct LiveDevices {
    std::mutex lock;
    std::vector<DisplayCore*> cores;
};

LiveDevices& Live() {
    static LiveDevices live;
    return live;
}

class GammaControl final : public ComObject<IDirectDrawGammaControl> {
public:
    explicit GammaControl(std::shared_ptr<DisplayCore> core) : core_(std::move(core)) {}

    HRESULT QueryInterface(REFIID iid, void** object) override {
        if (const auto fault = core_->Fault(DisplayOp::QueryInterface)) return *fault;
        if (object == nullptr) return DDERR_INVALIDPARAMS;
        *object = nullptr;
        if (!(iid == IID_IDirectDrawGammaControl)) return E_NOINTERFACE;
        AddRef();
        *object = static_cast<IDirectDrawGammaControl*>(this);
        return DD_OK;
    }

    HRESULT GetGammaRamp(DWORD, DDGAMMARAMP* ramp) override {
        if (const auto fault = core_->Fault(DisplayOp::GetGammaRamp)) return *fault;
        if (ramp == nullptr) return DDERR_INVALIDPARAMS;
        *ramp = core_->Ramp();
        return DD_OK;
    }

    HRESULT SetGammaRamp(DWORD, const DDGAMMARAMP* ramp) override {
        if (const auto fault = core_->Fault(DisplayOp::SetGammaRamp)) return *fault;
        if (ramp == nullptr) return DDERR_INVALIDPARAMS;
        core_->SetRamp(*ramp);
        return DD_OK;
    }

private:
    std::shared_ptr<DisplayCore> core_;
};

}  // namespace

DisplayCore::DisplayCore() : faults_(CurrentBackend().Faults()), ramp_(IdentityRamp()) {}

ScreenMode DisplayCore::SurfaceMode() const { return mode ? *mode : CurrentBackend().DesktopMode(); }

bool DisplayCore::LostSince(std::uint64_t restoredEpoch) const {
    const std::uint64_t restored = std::max(restoredEpoch, restoredAllEpoch_.load(std::memory_order_acquire));
    return restored < LossEpoch();
}

DDGAMMARAMP DisplayCore::Ramp() const {
    const std::lock_guard guard(rampLock_);
    return ramp_;
}

void DisplayCore::SetRamp(const DDGAMMARAMP& ramp) {
    const std::lock_guard guard(rampLock_);
    ramp_ = ramp;
}

void RegisterLiveDevice(DisplayCore* core) {
    LiveDevices& live = Live();
    const std::lock_guard guard(live.lock);
    live.cores.push_back(core);
}

void UnregisterLiveDevice(DisplayCore* core) {
    LiveDevices& live = Live();
    const std::lock_guard guard(live.lock);
    std::erase(live.cores, core);
}

void LoseAllSurfaces() {
    LiveDevices& live = Live();
    const std::lock_guard guard(live.lock);
    for (DisplayCore* core : live.cores) core->LoseSurfaces();
}

IDirectDrawGammaControl* MakeGammaControl(std::shared_ptr<DisplayCore> core) {
    return new (std::nothrow) GammaControl(std::move(core));
}

}  // namespace platform
