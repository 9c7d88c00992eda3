#include "solar/SunTime.h"

#include "platform/forms/Forms.h"
#include "platform/winapi/Kernel.h"
#include "platform/winapi/User.h"

#include <cmath>
#include <cstdio>

namespace {

// Expressions are evaluated in extended precision; every named value of the
// method is kept as a 32-bit float, which is what the results are held to.
using Extended = long double;

constexpr Extended kDegreesToRadians = 0.0174533L;
constexpr Extended kRadiansToDegrees = 57.29578L;
constexpr Extended kCosZenith = -0.01454L;
constexpr Extended kOneFifteenth = 1.0L / 15;
constexpr Extended kOneTwentyFourth = 1.0L / 24;
constexpr Extended kOneThird = 1.0L / 3;
constexpr Extended kOneNinetieth = 1.0L / 90;

// One correction step with strict tests: exactly `period` stays as it is, and
// a value more than one period out stays out.
float CorrectOnce(Extended value, Extended period) {
    float corrected = float(value);
    if (corrected > period) corrected = float(corrected - period);
    if (!(corrected >= 0)) corrected = float(corrected + period);
    return corrected;
}

int DayOfYear(const CalendarDate& date) {
    const long long month = date.month;
    const long long year = date.year;
    const long long n1 = (275 * month) / 9;
    const long long n2 = (month + 9) / 12;
    const long long n3 = 1 + (long long)std::floor(Extended(year - 4 * (year / 4) + 2) * kOneThird);
    return int(n1 - n2 * n3 + date.day - 30);
}

// Start of the 90-degree quadrant holding `degrees`. Whole numbers, kept in
// floating point so that far-off values cannot overflow an integer.
Extended QuadrantStart(float degrees) { return std::trunc(std::floor(degrees * kOneNinetieth) * 90); }

}  // namespace

SunEvent ComputeSunEvent(const CalendarDate& date, int offset, bool rising, float latitude, float longitude) {
    const int n = DayOfYear(date);
    const float lngHour = float(longitude * kOneFifteenth);
    const Extended approximateHour = rising ? 6 : 18;
    const float t = float(n + (approximateHour - lngHour) * kOneTwentyFourth);
    const float m = float(0.9856L * t - 3.289L);
    const float l = CorrectOnce(m + 1.916L * std::sin(m * kDegreesToRadians) +
                                    0.020L * std::sin(2 * m * kDegreesToRadians) + 282.634L,
                                360);
    const float tanL = float(std::tan(l * kDegreesToRadians));
    float ra = CorrectOnce(std::atan(0.91764L * tanL) * kRadiansToDegrees, 360);
    ra = float(ra + (QuadrantStart(l) - QuadrantStart(ra)));
    ra = float(ra * kOneFifteenth);
    const float sinDec = float(0.39782L * std::sin(l * kDegreesToRadians));
    const float cosDec = float(std::cos(std::asin(Extended(sinDec))));
    const Extended latitudeRadians = latitude * kDegreesToRadians;
    const float cosH =
        float((kCosZenith - sinDec * std::sin(latitudeRadians)) / (cosDec * std::cos(latitudeRadians)));
    if (cosH > 1) return {0, PolarCase::NeverRises};
    if (!(cosH >= -1)) return {0, PolarCase::NeverSets};

    const Extended angle = std::acos(Extended(cosH)) * kRadiansToDegrees;
    float h = float(rising ? 360 - angle : angle);
    h = float(h * kOneFifteenth);
    const float localMean = float(h + ra - 0.06571L * t - 6.622L);
    const float ut = CorrectOnce(Extended(localMean) - lngHour, 24);
    return {CorrectOnce(Extended(offset) + ut, 24), PolarCase::None};
}

namespace {

CalendarDate Today() {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return {now.wYear, now.wMonth, now.wDay};
}

}  // namespace

float SunTime(int offset, bool rising, float latitude, float longitude) {
    return ComputeSunEvent(Today(), offset, rising, latitude, longitude).hours;
}

namespace {

void TellPolarCase(const SunEvent& event, HWND owner) {
    if (event.polar == PolarCase::None) return;
    const std::string message = PolarText(event.polar) + " (on the specified date)";
    MessageBoxA(owner, message.c_str(), Application->Title.c_str(), MB_OK);
}

}  // namespace

float SunTimeReporting(int offset, bool rising, float latitude, float longitude, HWND owner) {
    const SunEvent event = ComputeSunEvent(Today(), offset, rising, latitude, longitude);
    TellPolarCase(event, owner);
    return event.hours;
}

SunTimes TodaysSunTimes(int offset, float latitude, float longitude, bool daylightSaving, PolarNotice notice,
                        HWND owner) {
    const CalendarDate today = Today();
    const SunEvent sunrise = ComputeSunEvent(today, offset, true, latitude, longitude);
    const SunEvent sunset = ComputeSunEvent(today, offset, false, latitude, longitude);
    if (notice == PolarNotice::Shown) {
        TellPolarCase(sunrise, owner);
        TellPolarCase(sunset, owner);
    }
    const float saving = daylightSaving ? 1.0f : 0.0f;
    return {sunrise.hours + saving, sunset.hours + saving, sunrise.polar, sunset.polar};
}

std::string TwelveHourTime(long hour, int minute) {
    const long ofDay = (hour % 24 + 24) % 24;
    const long onDial = ofDay % 12 == 0 ? 12 : ofDay % 12;
    char text[32];
    std::snprintf(text, sizeof text, "%ld:%02d%s", onDial, minute, ofDay < 12 ? "AM" : "PM");
    return text;
}

std::string FormatHours(float hours) {
    if (!std::isfinite(hours) || std::fabs(hours) > 1e6f) return "--:--";
    const Extended whole = std::floor(Extended(hours));
    return TwelveHourTime(long(whole), int(std::trunc((hours - whole) * 60)));
}

std::string PolarText(PolarCase polar) {
    return polar == PolarCase::NeverRises ? "the sun never rises on this location"
                                          : "the sun never sets on this location";
}

std::string SunTimeText(float hours, PolarCase polar) {
    if (polar == PolarCase::None) return FormatHours(hours);
    return "none (" + PolarText(polar) + ")";
}
