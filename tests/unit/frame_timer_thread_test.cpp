// The frame timer on the platform's real multimedia timer.
#include "display/FrameTimer.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

TEST(FrameTimerThread, TicksArriveOnTheTimerThreadAtItsPeriod) {
    FrameTimer timer(nullptr);
    std::atomic<int> ticks{0};
    std::atomic<bool> otherThread{true};
    const auto windowThread = std::this_thread::get_id();
    timer.OnTimer = [&](TObject*) {
        if (std::this_thread::get_id() == windowThread) otherThread = false;
        ++ticks;
    };
    timer.SetInterval(5);
    timer.SetEnabled(true);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (ticks < 10 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    timer.SetEnabled(false);
    const int stopped = ticks;
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    EXPECT_GE(stopped, 10);
    EXPECT_EQ(ticks, stopped);  // no tick after disabling
    EXPECT_TRUE(otherThread);
}
