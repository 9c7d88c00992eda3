// The frame timer on the platform's real multimedia timer.
#include "display/FrameTimer.h"
#include "tests/unit/Eventually.h"

#include <gtest/gtest.h>

#include <atomic>
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
    ASSERT_TRUE(Eventually([&] { return ticks >= 10; }));
    timer.SetEnabled(false);
    const int stopped = ticks;

    // A second timer of the same period ticks on; three of its ticks are
    // three periods in which the first one would have ticked too.
    FrameTimer witness(nullptr);
    std::atomic<int> witnessTicks{0};
    witness.OnTimer = [&](TObject*) { ++witnessTicks; };
    witness.SetInterval(5);
    witness.SetEnabled(true);
    ASSERT_TRUE(Eventually([&] { return witnessTicks >= 3; }));
    witness.SetEnabled(false);
    EXPECT_EQ(ticks, stopped);  // no tick after disabling
    EXPECT_TRUE(otherThread);
}
