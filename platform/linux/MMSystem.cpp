// The multimedia timer: one thread per timer, ticking on absolute deadlines
// of the steady clock so the period does not drift; and the boot-time
// millisecond clock.
#include "platform/winapi/MMSystem.h"

#include "platform/seam/Backend.h"
#include "platform/winapi/MMSystem.h"

#include <pthread.h>
#include <time.h>

#include <chrono>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

struct TimerState {
    UINT id = 0;
    std::chrono::milliseconds period{0};
    bool periodic = false;
    LPTIMECALLBACK callback = nullptr;
    std::uintptr_t user = 0;

    std::mutex lock;
    std::condition_variable stopRequested;
    bool stopped = false;
    std::thread thread;
};

void Forget(const std::shared_ptr<TimerState>& timer);

void RunTimer(const std::shared_ptr<TimerState>& timer) {
    pthread_setname_np(pthread_self(), "mmtimer");
    auto deadline = Clock::now() + timer->period;
    for (;;) {
        {
            std::unique_lock guard(timer->lock);
            if (timer->stopRequested.wait_until(guard, deadline, [&] { return timer->stopped; })) {
                return;
            }
        }
        timer->callback(timer->id, 0, timer->user, 0, 0);
        if (!timer->periodic) {
            // A one-shot timer is gone once it has fired.
            Forget(timer);
            return;
        }
        // A callback that overran its period delays the next tick instead of
        // bringing a burst of ticks to catch up.
        deadline += timer->period;
        const auto now = Clock::now();
        if (deadline < now) {
            deadline = now;
        }
    }
}

// Stops a timer whose entry was already taken out of the table. From the
// timer's own thread (a callback killing its timer) the thread is let go:
// it ends when that callback returns, as it finds itself stopped.
void Stop(const std::shared_ptr<TimerState>& timer) {
    {
        std::lock_guard guard(timer->lock);
        timer->stopped = true;
    }
    timer->stopRequested.notify_all();
    if (timer->thread.get_id() == std::this_thread::get_id()) {
        timer->thread.detach();
    } else if (timer->thread.joinable()) {
        timer->thread.join();
    }
}

class TimerTable {
public:
    ~TimerTable() {
        // Timers still running at exit are stopped so no callback outlives
        // the objects it works on.
        std::map<UINT, std::shared_ptr<TimerState>> left;
        {
            std::lock_guard guard(lock_);
            left.swap(timers_);
        }
        for (auto& [id, timer] : left) {
            Stop(timer);
        }
    }

    UINT Start(std::shared_ptr<TimerState> timer) {
        std::lock_guard guard(lock_);
        timer->id = NextFreeId();
        // The thread holds the state and checks `stopped` under its lock, so
        // it may start before the table entry exists.
        timer->thread = std::thread([timer] { RunTimer(timer); });
        timers_.emplace(timer->id, timer);
        return timer->id;
    }

    std::shared_ptr<TimerState> Take(UINT id) {
        std::lock_guard guard(lock_);
        auto found = timers_.find(id);
        if (found == timers_.end()) {
            return nullptr;
        }
        auto timer = std::move(found->second);
        timers_.erase(found);
        return timer;
    }

private:
    UINT NextFreeId() {
        while (nextId_ == 0 || timers_.contains(nextId_)) {
            ++nextId_;
        }
        return nextId_++;
    }

    std::mutex lock_;
    std::map<UINT, std::shared_ptr<TimerState>> timers_;
    UINT nextId_ = 1;
};

TimerTable& Timers() {
    static TimerTable table;
    return table;
}

void Forget(const std::shared_ptr<TimerState>& timer) {
    if (auto self = Timers().Take(timer->id)) {
        Stop(self);
    }
}

}  // namespace

MMRESULT timeSetEvent(UINT delay, UINT /*resolution*/, LPTIMECALLBACK callback, std::uintptr_t user,
                      UINT eventType) {
    // Only function callbacks exist here; a zero period would spin.
    if (callback == nullptr || delay == 0 || (eventType & ~(TIME_PERIODIC | TIME_KILL_SYNCHRONOUS)) != 0) {
        return 0;
    }
    auto timer = std::make_shared<TimerState>();
    timer->period = std::chrono::milliseconds(delay);
    timer->periodic = (eventType & TIME_PERIODIC) != 0;
    timer->callback = callback;
    timer->user = user;
    try {
        return Timers().Start(std::move(timer));
    } catch (const std::system_error&) {
        return 0;
    }
}

MMRESULT timeKillEvent(UINT timerId) {
    auto timer = Timers().Take(timerId);
    if (!timer) {
        return MMSYSERR_INVALPARAM;
    }
    Stop(timer);
    return TIMERR_NOERROR;
}

DWORD timeGetTime() {
    if (const std::optional<DWORD> own = platform::CurrentBackend().TickCount()) return *own;
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    const auto ms = std::uint64_t(now.tv_sec) * 1000u + std::uint64_t(now.tv_nsec) / 1'000'000u;
    return DWORD(ms);
}
