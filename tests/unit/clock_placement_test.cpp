#include "settings/ClockPlacement.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

TEST(ClockPlacement, AnEditsTextIsReadUpToItsFirstNonDigit) {
    EXPECT_EQ(LeadingInteger("934"), 934);
    EXPECT_EQ(LeadingInteger("  -50px"), -50);
    EXPECT_EQ(LeadingInteger("+7"), 7);
    EXPECT_EQ(LeadingInteger(""), 0);
    EXPECT_EQ(LeadingInteger("abc12"), 0);
    EXPECT_EQ(LeadingInteger("- 5"), 0);
    EXPECT_EQ(LeadingInteger("99999999999999999999"), INT_MAX);
    EXPECT_EQ(LeadingInteger("-99999999999999999999"), INT_MIN);
}

TEST(ClockPlacement, TheCentreKeepsRadiusAndMarginFromBothEdges) {
    EXPECT_EQ(LimitClockCentre(5, 70, 1024), 90);
    EXPECT_EQ(LimitClockCentre(2000, 70, 1024), 934);
    EXPECT_EQ(LimitClockCentre(500, 70, 1024), 500);
    EXPECT_EQ(LimitClockCentre(-40, 344, 768), 364);
    EXPECT_EQ(LimitClockCentre(500, 344, 768), 404);
    // A screen too small for both limits: the lower one wins.
    EXPECT_EQ(LimitClockCentre(10, 70, 100), 90);
}

TEST(ClockPlacement, StoredExtremesDoNotOverflowTheLimits) {
    EXPECT_EQ(LimitClockCentre(0, INT_MAX, 1024), INT_MAX);
    EXPECT_EQ(LimitClockCentre(INT_MAX, 70, INT_MIN), INT_MIN);
    EXPECT_EQ(CornerClockPlacement(INT_MIN).x, INT_MIN);
}

TEST(ClockPlacement, TheRadiusStaysBetween70AndHalfTheHeightLess40) {
    EXPECT_EQ(LimitClockRadius(500, 768), 344);
    EXPECT_EQ(LimitClockRadius(0, 768), 70);
    EXPECT_EQ(LimitClockRadius(120, 768), 120);
    EXPECT_EQ(LimitClockRadius(100, 200), 60);  // the upper limit wins on a tiny screen
}

TEST(ClockPlacement, TheCornerIsNearTheTopRight) {
    EXPECT_EQ(CornerClockPlacement(1024), (ClockPlacement{934, 90, 70}));
}

}  // namespace
