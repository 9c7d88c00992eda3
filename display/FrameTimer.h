// The frame timer: a periodic multimedia timer whose ticks call
// OnTimer on the timer's own thread, with a half-rate event, five one-shot
// events counted from enabling, and a report of a stalled timer.
#pragma once

#include "platform/Forms.h"

#include <cstdint>

class FrameTimer : public TComponent {
public:
    explicit FrameTimer(TComponent* owner);
    // Stops a running timer, so no tick reaches a destroyed component.
    ~FrameTimer() override;
    FrameTimer(const FrameTimer&) = delete;
    FrameTimer& operator=(const FrameTimer&) = delete;

    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool value);
    int GetInterval() const { return FInterval; }
    void SetInterval(int value) { FInterval = value; }

    TNotifyEvent OnTimer;
    TNotifyEvent OnDivide2;
    TNotifyEvent On5tick;
    TNotifyEvent On10tick;
    TNotifyEvent On15tick;
    TNotifyEvent On20tick;
    TNotifyEvent On25tick;
    TNotifyEvent OnZasTime;

    // One tick, as the multimedia timer's thread delivers it.
    void Tick();

    // A tick that starts more than this long after the previous one is a stall.
    static constexpr std::uint32_t kStallMs = 2000;

private:
    static void TimerProc(unsigned timerId, unsigned msg, std::uintptr_t user, std::uintptr_t,
                          std::uintptr_t);

    unsigned FTimerID = 0;
    bool FEnabled = false;
    int FInterval = 40;
    int FHalfRate = 0;
    bool FCounting = false;
    int FTickCount = 0;
    std::uint32_t FLastTickTime = 0;
};
