#include "display/ClockOverlay.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>

TEST(ClockOverlay, SizesDerivedFromTheDefaultRadius) {
    ClockOverlay clock(nullptr);
    clock.SetRadius(70);
    const ClockOverlay::Sizes& s = clock.DerivedSizes();
    EXPECT_EQ(s.hub, 1);
    EXPECT_EQ(s.minuteDot, 1);
    EXPECT_EQ(s.fiveMinuteDot, 2);
    EXPECT_EQ(s.quarterHalf, 2);
    EXPECT_EQ(s.hourLength, 47);
    EXPECT_EQ(s.hourHalfWidth, 3);
    EXPECT_EQ(clock.HourShape()[2].y, 1);  // the hour hand's tail
    EXPECT_EQ(s.minuteLength, 63);
    EXPECT_EQ(s.minuteHalfWidth, 2);
    EXPECT_EQ(clock.SecondStart().y, -67);
    EXPECT_EQ(clock.SecondEnd().y, 11);
}

TEST(ClockOverlay, SizesDerivedFromALargeRadius) {
    ClockOverlay clock(nullptr);
    clock.SetRadius(140);
    const ClockOverlay::Sizes& s = clock.DerivedSizes();
    EXPECT_EQ(s.hub, 3);
    EXPECT_EQ(s.minuteDot, 2);
    EXPECT_EQ(s.fiveMinuteDot, 3);
    EXPECT_EQ(s.quarterHalf, 4);
    EXPECT_EQ(s.hourLength, 94);
    EXPECT_EQ(s.hourHalfWidth, 7);
    EXPECT_EQ(clock.HourShape()[2].y, 3);
    EXPECT_EQ(s.minuteLength, 126);
    EXPECT_EQ(s.minuteHalfWidth, 4);
    EXPECT_EQ(clock.SecondStart().y, -133);
    EXPECT_EQ(clock.SecondEnd().y, 23);
}

TEST(ClockOverlay, HourHandAdvancesEveryTwelveMinutes) {
    EXPECT_EQ(ClockOverlay::HourIndex(15, 0), 15);
    EXPECT_EQ(ClockOverlay::HourIndex(14, 59), 14);
    EXPECT_EQ(ClockOverlay::HourIndex(0, 30), 2);
    EXPECT_EQ(ClockOverlay::HourIndex(12, 30), 2);
}

TEST(ClockOverlay, RotationTurnsClockwiseOnTheScreen) {
    ClockOverlay clock(nullptr);
    clock.SetCenterX(400);
    clock.SetCenterY(300);
    clock.SetRadius(70);
    const POINT tip = clock.HourShape()[0];  // pointing to 12
    const POINT atTwelve = clock.Rotate(tip, 0);
    EXPECT_EQ(atTwelve.x, 400);
    EXPECT_EQ(atTwelve.y, 300 - 47);
    const POINT atThree = clock.Rotate(tip, 15);
    EXPECT_NEAR(atThree.y, 300, 1);
    EXPECT_GE(atThree.x, 400 + 46);  // sin/cos of the float table may trail by a pixel
    const POINT atSix = clock.Rotate(tip, 30);
    EXPECT_GT(atSix.y, 300 + 45);
}

// Hand-edited settings at the ends of the integers: the clock keeps to
// places a screen could show, and its turned figures stay near them.
TEST(ClockOverlay, ExtremeValuesAreHeldToWhatAScreenShows) {
    ClockOverlay clock(nullptr);
    clock.SetCenterX(INT_MAX);
    clock.SetCenterY(INT_MIN);
    clock.SetRadius(INT_MAX);
    EXPECT_EQ(clock.CenterX(), ClockOverlay::kExtentLimit);
    EXPECT_EQ(clock.CenterY(), -ClockOverlay::kExtentLimit);
    EXPECT_EQ(clock.Radius(), ClockOverlay::kExtentLimit);
    for (int k = 0; k < 60; ++k) {
        const POINT tip = clock.Rotate(clock.MinuteShape()[0], k);
        EXPECT_LE(std::abs(tip.x - clock.CenterX()), ClockOverlay::kExtentLimit);
        EXPECT_LE(std::abs(tip.y - clock.CenterY()), ClockOverlay::kExtentLimit);
    }
    clock.SetRadius(INT_MIN);
    EXPECT_EQ(clock.Radius(), 0);
    EXPECT_EQ(clock.DerivedSizes().minuteLength, 0);
}
