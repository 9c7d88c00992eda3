#include "display/FrameTimer.h"

#include "platform/MMSystem.h"

FrameTimer::FrameTimer(TComponent* owner) : TComponent(owner) {}

FrameTimer::~FrameTimer() { SetEnabled(false); }

void FrameTimer::SetEnabled(bool value) {
    if (value == FEnabled) return;
    FEnabled = value;
    if (value) {
        FHalfRate = 0;
        FTickCount = 0;
        FCounting = true;
        FLastTickTime = timeGetTime();
        FTimerID = timeSetEvent(UINT(FInterval), 0, TimerProc, reinterpret_cast<std::uintptr_t>(this),
                                TIME_PERIODIC | TIME_CALLBACK_FUNCTION);
    } else if (FTimerID != 0) {
        timeKillEvent(FTimerID);
    }
}

void FrameTimer::TimerProc(unsigned, unsigned, std::uintptr_t user, std::uintptr_t, std::uintptr_t) {
    reinterpret_cast<FrameTimer*>(user)->Tick();
}

void FrameTimer::Tick() {
    const std::uint32_t now = timeGetTime();
    const std::uint32_t gap = now - FLastTickTime;
    if (OnTimer) OnTimer(this);
    FHalfRate = 1 - FHalfRate;
    if (FHalfRate == 1 && OnDivide2) OnDivide2(this);
    if (FCounting) {
        ++FTickCount;
        const TNotifyEvent* oneShot = nullptr;
        switch (FTickCount) {
        case 5:
            oneShot = &On5tick;
            break;
        case 10:
            oneShot = &On10tick;
            break;
        case 15:
            oneShot = &On15tick;
            break;
        case 20:
            oneShot = &On20tick;
            break;
        case 25:
            oneShot = &On25tick;
            FCounting = false;
            break;
        default:
            break;
        }
        if (oneShot != nullptr && *oneShot) (*oneShot)(this);
    }
    FLastTickTime = now;
    if (gap > kStallMs && OnZasTime) OnZasTime(this);
}
