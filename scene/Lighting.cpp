#include "scene/Lighting.h"

namespace {

LightLevels Between(const LightLevels& from, const LightLevels& to, int elapsed, int span) {
    auto channel = [&](int a, int b) { return a + (b - a) * elapsed / span; };
    return {channel(from.Red, to.Red), channel(from.Green, to.Green), channel(from.Blue, to.Blue)};
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

DayPhases MakePhaseBoundaries(float sunriseHours, float sunsetHours) {
    const int sunrise = SecondsOf(sunriseHours);
    const int sunset = SecondsOf(sunsetHours);
    return {sunrise - 2700, sunrise, sunrise + 7200, sunset - 7200, sunset, sunset + 2700};
}

LightLevels LightingLevels(int T, const DayPhases& p) {
    if (T <= p.DawnStart || T >= p.DuskEnd) return kNightLevels;
    if (T <= p.SunriseTime)
        return Between(kNightLevels, kSunriseLevels, T - p.DawnStart, p.SunriseTime - p.DawnStart);
    if (T <= p.MorningEnd)
        return Between(kSunriseLevels, kDayLevels, T - p.SunriseTime, p.MorningEnd - p.SunriseTime);
    if (T <= p.EveningStart) return kDayLevels;
    if (T <= p.SunsetTime)
        return Between(kDayLevels, kSunsetLevels, T - p.EveningStart, p.SunsetTime - p.EveningStart);
    if (T < p.DuskEnd)
        return Between(kSunsetLevels, kNightLevels, T - p.SunsetTime, p.DuskEnd - p.SunsetTime);
    return kDayLevels;
}

std::string DemoClockText(int T) {
    int hours = T / 3600;
    const int minutes = (T - 3600 * hours) / 60;
    const char* suffix = "AM";
    if (hours > 12) {
        hours -= 12;
        suffix = "PM";
    }
    return "Demo Time: " + std::to_string(hours) + ":" + std::to_string(minutes) + suffix;
}
