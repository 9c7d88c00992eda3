#include "scene/Lighting.h"

#include <gtest/gtest.h>

#include <utility>

namespace {
// Sunrise 6:00, sunset 20:00.
const DayPhases kDay = MakeDayPhases(6.0f, 20.0f);
}  // namespace

TEST(Lighting, BoundariesSurroundSunriseAndSunset) {
    EXPECT_EQ(kDay.dawnStart, 6 * 3600 - 2700);
    EXPECT_EQ(kDay.sunriseTime, 6 * 3600);
    EXPECT_EQ(kDay.morningEnd, 8 * 3600);
    EXPECT_EQ(kDay.eveningStart, 18 * 3600);
    EXPECT_EQ(kDay.sunsetTime, 20 * 3600);
    EXPECT_EQ(kDay.duskEnd, 20 * 3600 + 2700);
}

TEST(Lighting, KeyColoursStandAtTheirMoments) {
    EXPECT_EQ(LightingLevels(0, kDay), kNightLevels);
    EXPECT_EQ(LightingLevels(kDay.dawnStart, kDay), kNightLevels);
    EXPECT_EQ(LightingLevels(kDay.dawnStart + 1350, kDay), (LightLevels{78, 60, 81}));
    EXPECT_EQ(LightingLevels(kDay.sunriseTime, kDay), kSunriseLevels);
    EXPECT_EQ(LightingLevels(kDay.morningEnd, kDay), kDayLevels);
    EXPECT_EQ(LightingLevels(43200, kDay), kDayLevels);
    EXPECT_EQ(LightingLevels(kDay.eveningStart, kDay), kDayLevels);
    EXPECT_EQ(LightingLevels(kDay.sunsetTime, kDay), kSunsetLevels);
    EXPECT_EQ(LightingLevels(kDay.duskEnd, kDay), kNightLevels);
    EXPECT_EQ(LightingLevels(kSecondsPerDay, kDay), kNightLevels);
}

TEST(Lighting, InterpolationTruncatesTowardZero) {
    // One second into the morning: 117 + (138 * 1) / 7200 stays 117.
    EXPECT_EQ(LightingLevels(kDay.sunriseTime + 1, kDay).red, 117);
    // Falling channels truncate toward zero too: 182 + (-142 * 1350) / 2700 = 111.
    EXPECT_EQ(LightingLevels(kDay.sunsetTime + 1350, kDay).red, 111);
}

TEST(Lighting, PolarPlaceIsNightButNearMidnight) {
    const DayPhases polar = MakeDayPhases(0.0f, 0.0f);
    EXPECT_EQ(LightingLevels(0, polar), kSunriseLevels);
    EXPECT_EQ(LightingLevels(2700, polar), kNightLevels);
    EXPECT_EQ(LightingLevels(43200, polar), kNightLevels);
    const LightLevels morning = LightingLevels(1000, polar);
    EXPECT_GT(morning.red, kSunriseLevels.red);
    EXPECT_LT(morning.red, kDayLevels.red);
}

TEST(Lighting, TheDemoClockReadsAsA12HourClock) {
    const std::pair<int, const char*> cases[] = {
        {0, "Demo Time: 12:00AM"},
        {5 * 60, "Demo Time: 12:05AM"},
        {11 * 3600 + 59 * 60, "Demo Time: 11:59AM"},
        {12 * 3600, "Demo Time: 12:00PM"},
        {12 * 3600 + 30 * 60, "Demo Time: 12:30PM"},
        {13 * 3600 + 5 * 60, "Demo Time: 1:05PM"},
        {14 * 3600 + 2 * 60 + 59, "Demo Time: 2:02PM"},
        {23 * 3600 + 59 * 60 + 59, "Demo Time: 11:59PM"},
        {86400, "Demo Time: 12:00AM"},  // the demo day's last tick is midnight
    };
    for (const auto& [T, text] : cases) EXPECT_EQ(DemoClockText(T), text) << T;
}

TEST(Lighting, AbsurdSunTimesDoNotOverflow) {
    const DayPhases far = MakeDayPhases(2e37f, -2e37f);
    EXPECT_LT(far.dawnStart, far.sunriseTime);
    EXPECT_GT(far.duskEnd, far.sunsetTime);
    EXPECT_EQ(LightingLevels(43200, far), kNightLevels);
}
