#include "platform/FramePacer.h"

namespace platform {

namespace {

// A queue of a frame or two ahead of the screen lets the first presents of a
// truly synchronised renderer return early; this many early ones cannot be that.
constexpr int kFastPresentsBeforeDistrust = 30;

}  // namespace

FramePacer::FramePacer(Clock::duration period, bool displayPaces)
    : period_(period), displayPaces_(displayPaces) {}

FramePacer::Clock::time_point FramePacer::Slot(Clock::time_point now) {
    if (displayPaces_) {
        return now;
    }
    if (!nextSlot_) {
        nextSlot_ = now;
        return now;
    }
    *nextSlot_ += period_;
    if (*nextSlot_ < now) {
        nextSlot_ = now;
    }
    return *nextSlot_;
}

void FramePacer::Presented(Clock::time_point now) {
    if (displayPaces_ && lastPresent_ && now - *lastPresent_ < period_ * 3 / 4) {
        if (++fastPresents_ >= kFastPresentsBeforeDistrust) {
            displayPaces_ = false;
        }
    }
    lastPresent_ = now;
}

}  // namespace platform
