#include "platform/backends/headless/Headless.h"
#include "platform/winapi/MMSystem.h"

#include <gtest/gtest.h>

#include <time.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

// What a timer's callbacks saw, shared with the test thread.
struct TickLog {
    std::mutex lock;
    std::condition_variable changed;
    std::vector<Clock::time_point> times;
    int finished = 0;  // callbacks that are done with this log
    std::atomic<bool> inside{false};
    std::atomic<int> killAt{0};  // the tick on which the callback kills its own timer
    std::atomic<MMRESULT> killResult{MMSYSERR_INVALPARAM};
    std::chrono::milliseconds work{0};

    int Count() {
        std::lock_guard guard(lock);
        return int(times.size());
    }
    // Waits until `count` callbacks have finished (at most a generous while,
    // so a broken timer fails instead of hanging).
    bool WaitFor(int count) {
        std::unique_lock guard(lock);
        return changed.wait_for(guard, 10s, [&] { return finished >= count; });
    }
};

void Record(UINT timerId, UINT, std::uintptr_t user, std::uintptr_t, std::uintptr_t) {
    auto& log = *reinterpret_cast<TickLog*>(user);
    log.inside = true;
    std::this_thread::sleep_for(log.work);
    bool killNow = false;
    {
        std::lock_guard guard(log.lock);
        log.times.push_back(Clock::now());
        killNow = int(log.times.size()) == log.killAt;
    }
    if (killNow) {
        log.killResult = timeKillEvent(timerId);
    }
    // The last touch of the log happens under its lock, so a test that saw
    // this callback finish may let the log go.
    std::lock_guard guard(log.lock);
    log.inside = false;
    ++log.finished;
    log.changed.notify_all();
}

std::uintptr_t AsUser(TickLog& log) { return reinterpret_cast<std::uintptr_t>(&log); }

// Lets three periods of `delay` pass, as a second timer counts them: time in
// which a timer that was still alive would have ticked.
void LetThreePeriodsPass(UINT delay) {
    TickLog witness;
    const MMRESULT id = timeSetEvent(delay, 0, Record, AsUser(witness), TIME_PERIODIC);
    ASSERT_GE(id, 1u);
    EXPECT_TRUE(witness.WaitFor(3));
    EXPECT_EQ(timeKillEvent(id), TIMERR_NOERROR);
}

TEST(MultimediaTimer, PeriodicTicksComeOnWholePeriodsAfterTheStart) {
    TickLog log;
    const auto start = Clock::now();
    const MMRESULT id = timeSetEvent(10, 0, Record, AsUser(log), TIME_PERIODIC | TIME_CALLBACK_FUNCTION);
    ASSERT_GE(id, 1u);
    ASSERT_TRUE(log.WaitFor(8));
    EXPECT_EQ(timeKillEvent(id), TIMERR_NOERROR);
    std::lock_guard guard(log.lock);
    for (std::size_t tick = 0; tick < log.times.size(); ++tick) {
        EXPECT_GE(log.times[tick], start + 10ms * (tick + 1)) << "tick " << tick + 1 << " came early";
    }
}

TEST(MultimediaTimer, OneShotFiresOnceAndIsThenGone) {
    TickLog log;
    const MMRESULT id = timeSetEvent(5, 0, Record, AsUser(log), TIME_ONESHOT);
    ASSERT_GE(id, 1u);
    ASSERT_TRUE(log.WaitFor(1));
    LetThreePeriodsPass(5);
    EXPECT_EQ(log.Count(), 1);
    EXPECT_EQ(timeKillEvent(id), MMSYSERR_INVALPARAM);
}

TEST(MultimediaTimer, KillWaitsForTheRunningCallbackAndNoneStartsAfter) {
    TickLog log;
    log.work = 20ms;
    const MMRESULT id = timeSetEvent(1, 0, Record, AsUser(log), TIME_PERIODIC);
    ASSERT_GE(id, 1u);
    while (!log.inside) {
        std::this_thread::yield();
    }
    EXPECT_EQ(timeKillEvent(id), TIMERR_NOERROR);
    EXPECT_FALSE(log.inside);
    const int ticks = log.Count();
    LetThreePeriodsPass(1);
    EXPECT_EQ(log.Count(), ticks);
}

TEST(MultimediaTimer, CallbackMayKillItsOwnTimer) {
    TickLog log;
    log.killAt = 3;
    const MMRESULT id = timeSetEvent(2, 0, Record, AsUser(log), TIME_PERIODIC);
    ASSERT_GE(id, 1u);
    ASSERT_TRUE(log.WaitFor(3));
    LetThreePeriodsPass(2);
    EXPECT_EQ(log.Count(), 3);
    EXPECT_EQ(log.killResult, TIMERR_NOERROR);
    EXPECT_EQ(timeKillEvent(id), MMSYSERR_INVALPARAM);
}

TEST(MultimediaTimer, TimersRunSideBySideWithTheirOwnIds) {
    TickLog first;
    TickLog second;
    const MMRESULT a = timeSetEvent(3, 0, Record, AsUser(first), TIME_PERIODIC);
    const MMRESULT b = timeSetEvent(3, 0, Record, AsUser(second), TIME_PERIODIC);
    ASSERT_GE(a, 1u);
    ASSERT_GE(b, 1u);
    EXPECT_NE(a, b);
    EXPECT_TRUE(first.WaitFor(3));
    EXPECT_TRUE(second.WaitFor(3));
    EXPECT_EQ(timeKillEvent(a), TIMERR_NOERROR);
    EXPECT_EQ(timeKillEvent(b), TIMERR_NOERROR);
}

TEST(MultimediaTimer, RefusesWhatItCannotRun) {
    TickLog log;
    EXPECT_EQ(timeSetEvent(10, 0, nullptr, 0, TIME_PERIODIC), 0u);
    EXPECT_EQ(timeSetEvent(0, 0, Record, AsUser(log), TIME_PERIODIC), 0u);
    EXPECT_EQ(timeSetEvent(10, 0, Record, AsUser(log), TIME_PERIODIC | 0x10), 0u);
    EXPECT_EQ(timeKillEvent(0), MMSYSERR_INVALPARAM);

    const MMRESULT id = timeSetEvent(10, 0, Record, AsUser(log), TIME_PERIODIC);
    ASSERT_GE(id, 1u);
    EXPECT_EQ(timeKillEvent(id), TIMERR_NOERROR);
    EXPECT_EQ(timeKillEvent(id), MMSYSERR_INVALPARAM);
}

TEST(TickClock, FollowsTheBootClockUnlessOverridden) {
    timespec boot{};
    clock_gettime(CLOCK_BOOTTIME, &boot);
    const auto bootMs = DWORD(std::uint64_t(boot.tv_sec) * 1000 + std::uint64_t(boot.tv_nsec) / 1'000'000);
    // Unsigned difference: correct across the 32-bit wrap.
    EXPECT_LT(DWORD(timeGetTime() - bootMs), 1000u);

    platform::headless::SetTickClock([] { return DWORD(0xFFFFFFF0u); });
    EXPECT_EQ(timeGetTime(), 0xFFFFFFF0u);
    platform::headless::SetTickClock({});
    EXPECT_LT(DWORD(timeGetTime() - bootMs), 1000u);
}

}  // namespace
