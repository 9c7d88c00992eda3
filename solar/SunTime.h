// Sunrise and sunset for a place on a date, in local standard hours, after the
// almanac method with the official zenith of 90°50'.
#pragma once

#include "platform/winapi/WinTypes.h"

#include <string>

struct CalendarDate {
    int year;
    int month;  // 1 to 12
    int day;    // 1 to 31
};

enum class PolarCase {
    None,        // the event happens on that date
    NeverRises,  // polar night
    NeverSets,   // polar day
};

struct SunEvent {
    float hours;  // 0 unless polar is None
    PolarCase polar;
};

// The calculation itself. offset: whole hours from UTC to standard time, east
// positive; latitude north positive, longitude east positive, in degrees.
// The result is brought into 0..24 by one step only, so unusual offsets or
// longitudes can leave it outside; nonsense input gives whatever the
// arithmetic yields (never undefined behaviour).
SunEvent ComputeSunEvent(const CalendarDate& date, int offset, bool rising, float latitude, float longitude);

// Today's sunrise (rising) or sunset in local standard hours, today being the
// date of GetLocalTime; 0 when the sun does not rise or set today.
float SunTime(int offset, bool rising, float latitude, float longitude);

// As SunTime, but a polar case is first told to the user in a modal message
// box captioned with the application's title.
float SunTimeReporting(int offset, bool rising, float latitude, float longitude, HWND owner = 0);

// Today's sunrise and sunset on the local clock: standard hours, one hour
// later while daylight saving time is kept.
struct SunTimes {
    float sunrise;
    float sunset;
    // An event that does not happen today (its hours then 0, or 1 with
    // daylight saving).
    PolarCase sunrisePolar = PolarCase::None;
    PolarCase sunsetPolar = PolarCase::None;
};
enum class PolarNotice {
    Silent,  // a polar day or night gives 0, as SunTime does
    Shown,   // and is first told to the user, as SunTimeReporting does
};
// A shown notice belongs to `owner`.
SunTimes TodaysSunTimes(int offset, float latitude, float longitude, bool daylightSaving,
                        PolarNotice notice = PolarNotice::Silent, HWND owner = 0);

// A time of day on the 12-hour clock people read: hours 12, 1 .. 11, "AM"
// before noon and "PM" from noon, two-digit minutes; 0:05 gives "12:05AM",
// 12:30 "12:30PM", 14:02 "2:02PM". Hours beyond a day fold back into it.
std::string TwelveHourTime(long hour, int minute);

// The 12-hour text of a sun time: 5.12 -> "5:07AM", 21.88 -> "9:52PM",
// 12.5 -> "12:30PM" (minutes are truncated; 24.5, a sunset at 23:30 plus
// daylight saving, is "12:30AM"). A value that is no time at all (not
// finite, or beyond a million hours) gives "--:--".
std::string FormatHours(float hours);

// The words for a day without the event: "the sun never rises on this
// location" (polar night) or "the sun never sets on this location" (polar day).
std::string PolarText(PolarCase polar);

// A sun time for a line on the screen: its 12-hour time, or where it does not
// happen today, "none" and why.
std::string SunTimeText(float hours, PolarCase polar);
