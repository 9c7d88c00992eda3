#include "scene/Lighting.h"

#include "solar/SunTime.h"

namespace {

LightLevels Between(const LightLevels& from, const LightLevels& to, int elapsed, int span) {
    auto channel = [&](int a, int b) { return a + (b - a) * elapsed / span; };
    return {channel(from.red, to.red), channel(from.green, to.green), channel(from.blue, to.blue)};
}

// Seconds of a sun time, held to a range whose boundaries cannot overflow:
// a hand-edited place far outside the globe can give any hours at all.
int SecondsOf(float hours) {
    const double seconds = double(hours) * 3600;
    if (!(seconds > -1e8)) return -100'000'000;
    if (seconds > 1e8) return 100'000'000;
    return int(seconds);
}

}  // namespace

DayPhases MakeDayPhases(float sunriseHours, float sunsetHours) {
    const int sunrise = SecondsOf(sunriseHours);
    const int sunset = SecondsOf(sunsetHours);
    return {sunrise - 2700, sunrise, sunrise + 7200, sunset - 7200, sunset, sunset + 2700};
}

LightLevels LightingLevels(int T, const DayPhases& p) {
    if (T <= p.dawnStart || T >= p.duskEnd) return kNightLevels;
    if (T <= p.sunriseTime)
        return Between(kNightLevels, kSunriseLevels, T - p.dawnStart, p.sunriseTime - p.dawnStart);
    if (T <= p.morningEnd)
        return Between(kSunriseLevels, kDayLevels, T - p.sunriseTime, p.morningEnd - p.sunriseTime);
    if (T <= p.eveningStart) return kDayLevels;
    if (T <= p.sunsetTime)
        return Between(kDayLevels, kSunsetLevels, T - p.eveningStart, p.sunsetTime - p.eveningStart);
    if (T < p.duskEnd)
        return Between(kSunsetLevels, kNightLevels, T - p.sunsetTime, p.duskEnd - p.sunsetTime);
    return kDayLevels;
}

std::string DemoClockText(int T) { return "Demo Time: " + TwelveHourTime(T / 3600, T % 3600 / 60); }
