// Prints the position in the table of a city where the sun does not rise or
// does not set today, by the machine's local date, and which of the two; the
// city before it in the table is not polar, so that a step from that one
// to it is the first polar choice. Exit code 1 when no city of the table has
// a polar day or night today.
#include "solar/CityTable.h"
#include "solar/SunTime.h"

#include <windows.h>

#include <cstdio>
#include <utility>

int main() {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    const CalendarDate today{now.wYear, now.wMonth, now.wDay};
    bool previousPolar = true;
    for (int position = 0; position < CityCount; ++position) {
        const CityRecord city = *CityAt(position);
        const SunEvent sunrise =
            ComputeSunEvent(today, city.Offset(), true, city.Latitude(), city.Longitude());
        const SunEvent sunset =
            ComputeSunEvent(today, city.Offset(), false, city.Latitude(), city.Longitude());
        const bool polar = sunrise.polar != PolarCase::None || sunset.polar != PolarCase::None;
        const bool wasPolar = std::exchange(previousPolar, polar);
        if (!wasPolar && sunrise.polar != PolarCase::None && sunrise.polar == sunset.polar) {
            std::printf("%d %s\n", position, sunrise.polar == PolarCase::NeverRises ? "rises" : "sets");
            return 0;
        }
    }
    return 1;
}
