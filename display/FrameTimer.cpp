#include "display/FrameTimer.h"

#include "platform/winapi/MMSystem.h"

FrameTimer::FrameTimer(TComponent* owner) : TComponent(owner) {}

FrameTimer::~FrameTimer() { SetEnabled(false); }

void FrameTimer::SetEnabled(bool value) {
    if (value == enabled_) return;
    enabled_ = value;
    if (value) {
        halfRate_ = 0;
        tickCount_ = 0;
        counting_ = true;
        lastTickTime_ = timeGetTime();
        timerId_ = timeSetEvent(UINT(interval_), 0, TimerProc, reinterpret_cast<DWORD_PTR>(this),
                                TIME_PERIODIC | TIME_CALLBACK_FUNCTION | TIME_KILL_SYNCHRONOUS);
    } else if (timerId_ != 0) {
        timeKillEvent(timerId_);
    }
}

void CALLBACK FrameTimer::TimerProc(UINT, UINT, DWORD_PTR user, DWORD_PTR, DWORD_PTR) {
    reinterpret_cast<FrameTimer*>(user)->Tick();
}

void FrameTimer::Tick() {
    const std::uint32_t now = timeGetTime();
    const std::uint32_t gap = now - lastTickTime_;
    if (OnTimer) OnTimer(this);
    halfRate_ = 1 - halfRate_;
    if (halfRate_ == 1 && OnEverySecondTick) OnEverySecondTick(this);
    if (counting_) {
        ++tickCount_;
        const TNotifyEvent* oneShot = nullptr;
        switch (tickCount_) {
        case 5:
            oneShot = &OnTick5;
            break;
        case 10:
            oneShot = &OnTick10;
            break;
        case 15:
            oneShot = &OnTick15;
            break;
        case 20:
            oneShot = &OnTick20;
            break;
        case 25:
            oneShot = &OnTick25;
            counting_ = false;
            break;
        default:
            break;
        }
        if (oneShot != nullptr && *oneShot) (*oneShot)(this);
    }
    lastTickTime_ = now;
    if (gap > kStallMs && OnStall) OnStall(this);
}
