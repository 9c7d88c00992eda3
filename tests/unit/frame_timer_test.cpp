#include "display/FrameTimer.h"
#include "platform/backends/headless/Headless.h"
#include "platform/winapi/MMSystem.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <string>
#include <thread>

namespace {

class FrameTimerTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform::headless::SetTickClock([this] { return now; });
        timer.OnTimer = [this](TObject*) { events += "T"; };
        timer.OnEverySecondTick = [this](TObject*) { events += "2"; };
        timer.OnTick5 = [this](TObject*) { events += "5"; };
        timer.OnTick25 = [this](TObject*) { events += "X"; };
        timer.OnStall = [this](TObject*) { events += "Z"; };
    }
    void TearDown() override {
        timer.SetEnabled(false);
        platform::headless::SetTickClock({});
    }
    void Ticks(int count, DWORD step = 50) {
        for (int i = 0; i < count; ++i) {
            now += step;
            timer.Tick();
        }
    }

    DWORD now = 1000;
    std::string events;
    FrameTimer timer{nullptr};
};

}  // namespace

TEST_F(FrameTimerTest, EventsOfATickComeInOrder) {
    timer.SetInterval(60000);  // no real tick interferes
    timer.SetEnabled(true);
    Ticks(5);
    EXPECT_EQ(events, "T2TT2TT25");
}

TEST_F(FrameTimerTest, OneShotEventsFireOncePerEnabling) {
    timer.SetInterval(60000);
    timer.SetEnabled(true);
    Ticks(60);
    EXPECT_EQ(std::count(events.begin(), events.end(), '5'), 1);
    EXPECT_EQ(std::count(events.begin(), events.end(), 'X'), 1);
    timer.SetEnabled(true);  // already enabled: counting is not restarted
    Ticks(5);
    EXPECT_EQ(std::count(events.begin(), events.end(), '5'), 1);
    timer.SetEnabled(false);
    timer.SetEnabled(true);
    Ticks(5);
    EXPECT_EQ(std::count(events.begin(), events.end(), '5'), 2);
}

TEST_F(FrameTimerTest, StallIsAGapOfMoreThanTwoSeconds) {
    timer.SetInterval(60000);
    timer.SetEnabled(true);
    Ticks(1, 2000);
    EXPECT_EQ(events.find('Z'), std::string::npos);
    Ticks(1, 2001);
    EXPECT_NE(events.find('Z'), std::string::npos);
    // The millisecond counter wraps without a false stall.
    timer.SetEnabled(false);
    now = 0xFFFFFFF0u;
    timer.SetEnabled(true);
    events.clear();
    Ticks(1, 0x20);
    EXPECT_EQ(events.find('Z'), std::string::npos);
}
