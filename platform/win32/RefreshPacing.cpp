#include "platform/win32/RefreshPacing.h"

#include <chrono>

namespace platform::win32 {

namespace {

using Clock = FramePacer::Clock;
// The unit of a waitable timer's due time.
using TimerTicks = std::chrono::duration<LONGLONG, std::ratio<1, 10'000'000>>;

constexpr DWORD kDefaultRefreshHz = 60;
// CREATE_WAITABLE_TIMER_HIGH_RESOLUTION, which the cross compiler's headers
// do not have yet.
constexpr DWORD kHighResolutionTimer = 0x2;

// A high-resolution timer where the system has one (Windows 10 1803 on),
// else an ordinary one.
HANDLE MakeTimer() {
    if (HANDLE timer = CreateWaitableTimerExW(nullptr, nullptr, kHighResolutionTimer, TIMER_ALL_ACCESS))
        return timer;
    return CreateWaitableTimerW(nullptr, FALSE, nullptr);
}

}  // namespace

Clock::duration DisplayRefreshPeriod() {
    DEVMODEA mode{};
    mode.dmSize = sizeof mode;
    DWORD hz = 0;
    if (EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &mode)) hz = mode.dmDisplayFrequency;
    if (hz <= 1) hz = kDefaultRefreshHz;
    return std::chrono::duration_cast<Clock::duration>(std::chrono::seconds(1)) / hz;
}

RefreshPacing::RefreshPacing() : pacer_(DisplayRefreshPeriod(), false), timer_(MakeTimer()) {}

bool RefreshPacing::WaitForFrame() {
    const Clock::time_point now = Clock::now();
    if (!due_) due_ = pacer_.Slot(now);
    if (*due_ <= now) {
        due_.reset();
        return true;
    }
    const auto wait = std::chrono::ceil<TimerTicks>(*due_ - now);
    DWORD woken = WAIT_FAILED;
    LARGE_INTEGER dueTime;
    dueTime.QuadPart = -wait.count();  // negative: relative to now
    if (timer_ && SetWaitableTimer(timer_.get(), &dueTime, 0, nullptr, nullptr, FALSE)) {
        HANDLE timer = timer_.get();
        woken = MsgWaitForMultipleObjects(1, &timer, FALSE, INFINITE, QS_ALLINPUT);
    } else {
        const auto milliseconds = std::chrono::ceil<std::chrono::milliseconds>(wait);
        MsgWaitForMultipleObjects(0, nullptr, FALSE, DWORD(milliseconds.count()), QS_ALLINPUT);
    }
    if (woken == WAIT_OBJECT_0 || Clock::now() >= *due_) {
        due_.reset();
        return true;
    }
    return false;
}

}  // namespace platform::win32
