#include "solar/SunTime.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <utility>
#include <vector>

namespace {

// Results agree with the method to within about two seconds of time.
constexpr float kTolerance = 0.0006f;

constexpr CalendarDate kMidsummer2003{2003, 6, 21};
constexpr CalendarDate kMidwinter2003{2003, 12, 21};

struct Place {
    int offset;
    float latitude;
    float longitude;
};
constexpr Place kAachen{1, 50.78333f, 6.1f};
constexpr Place kAberdeen{0, 57.15f, -1.85f};
constexpr Place kSvalbard{1, 78.0f, 15.0f};

SunEvent Compute(const CalendarDate& date, const Place& place, bool rising) {
    return ComputeSunEvent(date, place.offset, rising, place.latitude, place.longitude);
}

TEST(SunEventCalculation, MatchesTheAlmanacForKnownPlacesAndDates) {
    struct Case {
        const char* what;
        CalendarDate date;
        Place place;
        float sunrise;
        float sunset;
    };
    const Case cases[] = {
        {"Aachen, midsummer", kMidsummer2003, kAachen, 4.3665f, 20.8759f},
        {"Aachen, midwinter", kMidwinter2003, kAachen, 8.5849f, 16.5341f},
        {"Aberdeen, midsummer", kMidsummer2003, kAberdeen, 3.1846f, 21.1180f},
    };
    for (const Case& c : cases) {
        const SunEvent rise = Compute(c.date, c.place, true);
        const SunEvent set = Compute(c.date, c.place, false);
        EXPECT_EQ(rise.polar, PolarCase::None) << c.what;
        EXPECT_EQ(set.polar, PolarCase::None) << c.what;
        EXPECT_NEAR(rise.hours, c.sunrise, kTolerance) << c.what;
        EXPECT_NEAR(set.hours, c.sunset, kTolerance) << c.what;
    }
}

TEST(SunEventCalculation, PolarDayAndNightGiveZeroWithTheirCase) {
    for (bool rising : {true, false}) {
        const SunEvent summer = Compute(kMidsummer2003, kSvalbard, rising);
        EXPECT_EQ(summer.polar, PolarCase::NeverSets);
        EXPECT_EQ(summer.hours, 0.0f);
        const SunEvent winter = Compute(kMidwinter2003, kSvalbard, rising);
        EXPECT_EQ(winter.polar, PolarCase::NeverRises);
        EXPECT_EQ(winter.hours, 0.0f);
    }
}

TEST(SunEventCalculation, TheResultIsCorrectedIntoTheDayByOneStepOnly) {
    const auto aachenAt = [](int offset, bool rising) {
        return Compute(kMidsummer2003, {offset, kAachen.latitude, kAachen.longitude}, rising).hours;
    };
    const float sunrise = aachenAt(0, true);
    const float sunset = aachenAt(0, false);

    // In UTC: sunrise 3.37, sunset 19.88. Far-off offsets move by one day only.
    EXPECT_NEAR(aachenAt(30, false), sunset + 30 - 24, kTolerance);
    EXPECT_NEAR(aachenAt(-30, true), sunrise - 30 + 24, kTolerance);
    // An ordinary offset that crosses midnight is brought back into the day.
    EXPECT_NEAR(aachenAt(5, false), sunset + 5 - 24, kTolerance);
    EXPECT_NEAR(aachenAt(-4, true), sunrise - 4 + 24, kTolerance);
}

TEST(SunEventCalculation, NonsenseInputGivesNumbersNotFaults) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float huge = 3e38f;
    for (bool rising : {true, false}) {
        EXPECT_EQ(ComputeSunEvent(kMidsummer2003, 1, rising, nan, 6.1f).hours, 0.0f);
        EXPECT_EQ(ComputeSunEvent(kMidsummer2003, 1, rising, 50.0f, nan).hours, 0.0f);
        ComputeSunEvent(kMidsummer2003, 1, rising, 90.0f, huge);
        ComputeSunEvent(kMidsummer2003, std::numeric_limits<int>::max(), rising, -90.0f, -huge);
        ComputeSunEvent({65535, 65535, 65535}, 1, rising, 50.0f, 6.1f);
    }
}

TEST(FormatHours, TwelveHourTextWithTruncatedMinutes) {
    const std::pair<float, const char*> cases[] = {
        {5.12f, "5:07AM"},
        {21.88f, "9:52PM"},
        {6.5f, "6:30AM"},
        {20.75f, "8:45PM"},
        // Each a few seconds past the minute, as sun times are.
        {0.0f, "12:00AM"},
        {0.09f, "12:05AM"},
        {11.99f, "11:59AM"},
        {12.0f, "12:00PM"},
        {12.25f, "12:15PM"},
        {12.5f, "12:30PM"},
        {13.09f, "1:05PM"},
        {14.04f, "2:02PM"},
        {23.99f, "11:59PM"},
        {1.0f, "1:00AM"},
        // A sunset at 23:30 plus daylight saving, and times a step of the
        // calculation left outside the day: folded into it.
        {24.5f, "12:30AM"},
        {-2.5f, "9:30PM"},
        // The float nearest 5.1 lies just below it.
        {5.1f, "5:05AM"},
        {4.3665f, "4:21AM"},
        {20.8759f, "8:52PM"},
    };
    for (const auto& [hours, text] : cases) EXPECT_EQ(FormatHours(hours), text) << hours;
}

TEST(FormatHours, AnEventThatDoesNotHappenIsToldInWords) {
    EXPECT_EQ(SunTimeText(4.3665f, PolarCase::None), "4:21AM");
    EXPECT_EQ(SunTimeText(0.0f, PolarCase::NeverSets), "none (the sun never sets on this location)");
    EXPECT_EQ(SunTimeText(1.0f, PolarCase::NeverRises), "none (the sun never rises on this location)");
}

TEST(FormatHours, ValuesThatAreNoTimeGiveAPlaceholder) {
    const float infinity = std::numeric_limits<float>::infinity();
    for (float hours : {std::numeric_limits<float>::quiet_NaN(), infinity, -infinity, 3e38f})
        EXPECT_EQ(FormatHours(hours), "--:--") << hours;
}

}  // namespace
