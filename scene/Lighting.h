// Time-of-day lighting: the colour levels of the whole screen for a time of
// day, from night through dawn, day and dusk, and the demo clock's text.
#pragma once

#include <string>

struct LightLevels {
    int red;
    int green;
    int blue;
    friend bool operator==(const LightLevels&, const LightLevels&) = default;
};

inline constexpr LightLevels kNightLevels{40, 50, 70};
inline constexpr LightLevels kSunriseLevels{117, 70, 93};
inline constexpr LightLevels kDayLevels{255, 255, 255};
inline constexpr LightLevels kSunsetLevels{182, 112, 84};

inline constexpr int kSecondsPerDay = 86400;

// Seconds since local midnight; sunset may lie past midnight.
struct DayPhases {
    int dawnStart;
    int sunriseTime;
    int morningEnd;
    int eveningStart;
    int sunsetTime;
    int duskEnd;
};

// From sun times in hours (daylight saving already added).
DayPhases MakeDayPhases(float sunriseHours, float sunsetHours);

// The levels for dayTime T: the first rule that applies.
LightLevels LightingLevels(int T, const DayPhases& phases);

// "Demo Time: 1:05PM" for 13:05, "Demo Time: 12:00AM" for midnight.
std::string DemoClockText(int T);
