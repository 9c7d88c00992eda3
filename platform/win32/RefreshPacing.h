// Keeps a loop that draws a frame a turn to the display's refresh rate: a
// screensaver runs while the machine should rest. Between frames the thread
// sleeps on a waitable timer, and a message for it wakes it at once.
#pragma once

#include "platform/FramePacer.h"

#include <windows.h>

#include <memory>
#include <optional>
#include <type_traits>

namespace platform::win32 {

// The refresh period of the primary display's current mode, from the display
// settings; 60 Hz where they name none (0 and 1 stand for the hardware's
// default).
FramePacer::Clock::duration DisplayRefreshPeriod();

class RefreshPacing {
public:
    RefreshPacing();

    // Waits until the next frame is due or a message comes for the thread,
    // whichever is first; true when the frame is due, and then the frame
    // after it is the next one waited for.
    bool WaitForFrame();

private:
    struct HandleCloser {
        void operator()(HANDLE handle) const { CloseHandle(handle); }
    };

    FramePacer pacer_;
    std::unique_ptr<std::remove_pointer_t<HANDLE>, HandleCloser> timer_;
    std::optional<FramePacer::Clock::time_point> due_;
};

}  // namespace platform::win32
