// Today's sun times, today being the date of the local clock, which the
// tests set; polar cases told in message boxes.
#include "platform/backends/headless/Headless.h"
#include "platform/forms/Forms.h"
#include "platform/winapi/Kernel.h"
#include "platform/winapi/User.h"
#include "solar/SunTime.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Results agree with the method to within about two seconds of time.
constexpr float kTolerance = 0.0006f;

const std::string kNeverRises = "the sun never rises on this location (on the specified date)";
const std::string kNeverSets = "the sun never sets on this location (on the specified date)";

struct Place {
    int offset;
    float latitude;
    float longitude;
};
constexpr Place kAachen{1, 50.78333f, 6.1f};
constexpr Place kSvalbard{1, 78.0f, 15.0f};

void SetToday(WORD year, WORD month, WORD day, WORD hour = 12, WORD minute = 0) {
    platform::headless::SetLocalTime(SYSTEMTIME{year, month, 0, day, hour, minute, 0, 0});
}

class TodaysSunTime : public ::testing::Test {
protected:
    void SetUp() override {
        savedTitle_ = Application->Title;
        Application->Title = "Tideway Islands";
        platform::headless::ClearShownMessageBoxes();
    }
    void TearDown() override {
        platform::headless::SetLocalTime(std::nullopt);
        platform::headless::ClearShownMessageBoxes();
        Application->Title = savedTitle_;
    }

private:
    std::string savedTitle_;
};

TEST_F(TodaysSunTime, ReadsTheDateFromTheLocalClock) {
    SetToday(2003, 6, 21);
    EXPECT_NEAR(SunTime(1, true, kAachen.latitude, kAachen.longitude), 4.3665f, kTolerance);
    EXPECT_NEAR(SunTime(1, false, kAachen.latitude, kAachen.longitude), 20.8759f, kTolerance);

    // Local midnight separates two days.
    SetToday(2003, 12, 20, 23, 59);
    const float before = SunTime(1, true, kAachen.latitude, kAachen.longitude);
    SetToday(2003, 12, 21, 0, 0);
    const float after = SunTime(1, true, kAachen.latitude, kAachen.longitude);
    EXPECT_NE(before, after);
    EXPECT_NEAR(after, 8.5849f, kTolerance);
}

TEST_F(TodaysSunTime, SilentVariantShowsNothing) {
    SetToday(2003, 6, 21);
    EXPECT_EQ(SunTime(1, true, kSvalbard.latitude, kSvalbard.longitude), 0.0f);
    EXPECT_EQ(SunTime(1, false, kSvalbard.latitude, kSvalbard.longitude), 0.0f);
    EXPECT_TRUE(platform::headless::ShownMessageBoxes().empty());
}

TEST_F(TodaysSunTime, ReportingVariantTellsEachPolarRequest) {
    SetToday(2003, 6, 21);
    EXPECT_EQ(SunTimeReporting(1, true, kSvalbard.latitude, kSvalbard.longitude), 0.0f);
    EXPECT_EQ(SunTimeReporting(1, false, kSvalbard.latitude, kSvalbard.longitude), 0.0f);
    SetToday(2003, 12, 21);
    EXPECT_EQ(SunTimeReporting(1, true, kSvalbard.latitude, kSvalbard.longitude), 0.0f);

    const std::vector<platform::headless::MessageBoxRecord> shown = platform::headless::ShownMessageBoxes();
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[0].text, kNeverSets);
    EXPECT_EQ(shown[1].text, kNeverSets);
    EXPECT_EQ(shown[2].text, kNeverRises);
    for (const platform::headless::MessageBoxRecord& box : shown) EXPECT_EQ(box.caption, "Tideway Islands");
}

TEST_F(TodaysSunTime, ReportingVariantIsSilentWhenTheSunRisesAndSets) {
    SetToday(2003, 6, 21);
    const auto [offset, latitude, longitude] = kAachen;
    EXPECT_NEAR(SunTimeReporting(offset, true, latitude, longitude), 4.3665f, kTolerance);
    EXPECT_NEAR(SunTimeReporting(offset, false, latitude, longitude), 20.8759f, kTolerance);
    EXPECT_TRUE(platform::headless::ShownMessageBoxes().empty());
}

}  // namespace
