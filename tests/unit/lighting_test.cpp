#include "scene/Lighting.h"

#include <gtest/gtest.h>

namespace {
// Sunrise 6:00, sunset 20:00.
const DayPhases kDay = MakePhaseBoundaries(6.0f, 20.0f);
}  // namespace

TEST(Lighting, BoundariesSurroundSunriseAndSunset) {
    EXPECT_EQ(kDay.DawnStart, 6 * 3600 - 2700);
    EXPECT_EQ(kDay.SunriseTime, 6 * 3600);
    EXPECT_EQ(kDay.MorningEnd, 8 * 3600);
    EXPECT_EQ(kDay.EveningStart, 18 * 3600);
    EXPECT_EQ(kDay.SunsetTime, 20 * 3600);
    EXPECT_EQ(kDay.DuskEnd, 20 * 3600 + 2700);
}

TEST(Lighting, KeyColoursStandAtTheirMoments) {
    EXPECT_EQ(LightingLevels(0, kDay), kNightLevels);
    EXPECT_EQ(LightingLevels(kDay.DawnStart, kDay), kNightLevels);
    EXPECT_EQ(LightingLevels(kDay.DawnStart + 1350, kDay), (LightLevels{78, 60, 81}));
    EXPECT_EQ(LightingLevels(kDay.SunriseTime, kDay), kSunriseLevels);
    EXPECT_EQ(LightingLevels(kDay.MorningEnd, kDay), kDayLevels);
    EXPECT_EQ(LightingLevels(43200, kDay), kDayLevels);
    EXPECT_EQ(LightingLevels(kDay.EveningStart, kDay), kDayLevels);
    EXPECT_EQ(LightingLevels(kDay.SunsetTime, kDay), kSunsetLevels);
    EXPECT_EQ(LightingLevels(kDay.DuskEnd, kDay), kNightLevels);
    EXPECT_EQ(LightingLevels(kSecondsPerDay, kDay), kNightLevels);
}

TEST(Lighting, InterpolationTruncatesTowardZero) {
    // One second into the morning: 117 + (138 * 1) / 7200 stays 117.
    EXPECT_EQ(LightingLevels(kDay.SunriseTime + 1, kDay).Red, 117);
    // Falling channels truncate toward zero too: 182 + (-142 * 1350) / 2700 = 111.
    EXPECT_EQ(LightingLevels(kDay.SunsetTime + 1350, kDay).Red, 111);
}

TEST(Lighting, PolarPlaceIsNightButNearMidnight) {
    const DayPhases polar = MakePhaseBoundaries(0.0f, 0.0f);
    EXPECT_EQ(LightingLevels(0, polar), kSunriseLevels);
    EXPECT_EQ(LightingLevels(2700, polar), kNightLevels);
    EXPECT_EQ(LightingLevels(43200, polar), kNightLevels);
    const LightLevels morning = LightingLevels(1000, polar);
    EXPECT_GT(morning.Red, kSunriseLevels.Red);
    EXPECT_LT(morning.Red, kDayLevels.Red);
}

TEST(Lighting, DemoClockTextHasNoLeadingZeros) {
    EXPECT_EQ(DemoClockText(13 * 3600 + 5 * 60), "Demo Time: 1:5PM");
    EXPECT_EQ(DemoClockText(43200), "Demo Time: 12:0AM");
    EXPECT_EQ(DemoClockText(86400), "Demo Time: 12:0PM");
    EXPECT_EQ(DemoClockText(0), "Demo Time: 0:0AM");
}

TEST(Lighting, AbsurdSunTimesDoNotOverflow) {
    const DayPhases far = MakePhaseBoundaries(2e37f, -2e37f);
    EXPECT_LT(far.DawnStart, far.SunriseTime);
    EXPECT_GT(far.DuskEnd, far.SunsetTime);
    EXPECT_EQ(LightingLevels(43200, far), kNightLevels);
}
