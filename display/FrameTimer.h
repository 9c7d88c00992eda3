// The frame timer: a periodic multimedia timer whose ticks call
// OnTimer on the timer's own thread, with a half-rate event, five one-shot
// events counted from enabling, and a report of a stalled timer.
#pragma once

#include "platform/forms/Forms.h"

#include <cstdint>

class FrameTimer : public TComponent {
public:
    explicit FrameTimer(TComponent* owner);
    // Stops a running timer, so no tick reaches a destroyed component: the
    // timer is killed synchronously, so a tick in progress ends first.
    ~FrameTimer() override;
    FrameTimer(const FrameTimer&) = delete;
    FrameTimer& operator=(const FrameTimer&) = delete;

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool value);
    int Interval() const { return interval_; }
    void SetInterval(int value) { interval_ = value; }

    TNotifyEvent OnTimer;
    TNotifyEvent OnEverySecondTick;
    TNotifyEvent OnTick5;
    TNotifyEvent OnTick10;
    TNotifyEvent OnTick15;
    TNotifyEvent OnTick20;
    TNotifyEvent OnTick25;
    TNotifyEvent OnStall;

    // One tick, as the multimedia timer's thread delivers it.
    void Tick();

    // A tick that starts more than this long after the previous one is a stall.
    static constexpr std::uint32_t kStallMs = 2000;

private:
    static void CALLBACK TimerProc(UINT timerId, UINT msg, DWORD_PTR user, DWORD_PTR, DWORD_PTR);

    unsigned timerId_ = 0;
    bool enabled_ = false;
    int interval_ = 40;
    int halfRate_ = 0;
    bool counting_ = false;
    int tickCount_ = 0;
    std::uint32_t lastTickTime_ = 0;
};
