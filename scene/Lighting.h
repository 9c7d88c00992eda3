// Time-of-day lighting: the colour levels of the whole screen for a time of
// day, from night through dawn, day and dusk, and the demo clock's text.
#pragma once

#include <string>

struct TLevels {
    int Red;
    int Green;
    int Blue;
    friend bool operator==(const TLevels&, const TLevels&) = default;
};

inline constexpr TLevels kNightLevels{40, 50, 70};
inline constexpr TLevels kSunriseLevels{117, 70, 93};
inline constexpr TLevels kDayLevels{255, 255, 255};
inline constexpr TLevels kSunsetLevels{182, 112, 84};

inline constexpr int kSecondsPerDay = 86400;

// Seconds since local midnight; sunset may lie past midnight.
struct TPhaseBoundaries {
    int DawnStart;
    int SunriseTime;
    int MorningEnd;
    int EveningStart;
    int SunsetTime;
    int DuskEnd;
};

// From sun times in hours (daylight saving already added).
TPhaseBoundaries MakePhaseBoundaries(float sunriseHours, float sunsetHours);

// The levels for DayTime T: the first rule that applies.
TLevels LightingLevels(int T, const TPhaseBoundaries& phases);

// "Demo Time: 1:5PM" for 13:05; hours up to 12 count as AM.
std::string DemoClockText(int T);
