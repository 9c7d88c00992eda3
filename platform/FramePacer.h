// When to show frames so that a saver never presents faster than the screen
// refreshes, and never burns a processor core doing it.
#pragma once

#include <chrono>
#include <optional>

namespace platform {

class FramePacer {
public:
    using Clock = std::chrono::steady_clock;

    // `displayPaces`: the renderer says its presents wait for the vertical
    // sync, so no waiting of our own is needed while that holds.
    FramePacer(Clock::duration period, bool displayPaces);

    // The moment to show the next frame at, asked at `now`. Slots lie whole
    // periods apart from the first frame, so the rate does not drift; a
    // frame later than its slot starts the schedule afresh instead of
    // hurrying to catch up.
    Clock::time_point Slot(Clock::time_point now);

    // A frame was shown at `now`. Presents that keep coming back sooner than
    // the screen refreshes show that the vertical sync does not pace them
    // after all (virtual displays, some drivers); from then on the pacer does.
    void Presented(Clock::time_point now);

    bool DisplayPaces() const { return displayPaces_; }
    Clock::duration Period() const { return period_; }

private:
    Clock::duration period_;
    bool displayPaces_;
    std::optional<Clock::time_point> nextSlot_;
    std::optional<Clock::time_point> lastPresent_;
    int fastPresents_ = 0;
};

}  // namespace platform
