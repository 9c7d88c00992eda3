// The state a display device shares with its surfaces and gamma controls.
// It outlives the device object while any of them holds it, so a surface
// released after its device never dangles. Internal to platform/.
#pragma once

#include "platform/seam/Backend.h"
#include "platform/winapi/DirectDraw.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>

namespace platform {

class DisplayCore {
public:
    DisplayCore();

    // Cooperative level and display mode; used on the window thread only.
    HWND window = 0;
    bool exclusive = false;
    std::optional<ScreenMode> mode;
    bool hasPrimary = false;

    // The forced answer of `op`, on a back end that forces any.
    std::optional<HRESULT> Fault(DisplayOp op) const {
        return faults_ != nullptr ? faults_->Take(op) : std::nullopt;
    }

    // The size and depth of new surfaces: the display mode's, else the desktop's.
    ScreenMode SurfaceMode() const;

    // Loss: a surface is lost when a loss happened after it was made or last
    // restored. Counted as epochs so that losing (from any thread) needs no
    // list of surfaces.
    std::uint64_t LossEpoch() const { return lossEpoch_.load(std::memory_order_acquire); }
    bool LostSince(std::uint64_t restoredEpoch) const;
    void LoseSurfaces() { lossEpoch_.fetch_add(1, std::memory_order_acq_rel); }
    void RestoreAllSurfaces() { restoredAllEpoch_.store(LossEpoch(), std::memory_order_release); }

    // The primary's gamma ramp: written by the timer thread, read by the
    // window thread when it presents.
    DDGAMMARAMP Ramp() const;
    void SetRamp(const DDGAMMARAMP& ramp);

private:
    DisplayFaults* faults_;
    std::atomic<std::uint64_t> lossEpoch_{0};
    std::atomic<std::uint64_t> restoredAllEpoch_{0};
    mutable std::mutex rampLock_;
    DDGAMMARAMP ramp_;
};

// Live devices, for LoseAllSurfaces.
void RegisterLiveDevice(DisplayCore* core);
void UnregisterLiveDevice(DisplayCore* core);

// The gamma control of a primary surface: a view on its device's ramp.
IDirectDrawGammaControl* MakeGammaControl(std::shared_ptr<DisplayCore> core);

}  // namespace platform
