#include "settings/ClockPlacement.h"

#include <algorithm>
#include <climits>

namespace {

// Stored numbers can be anything; the limits are worked out wide so that
// none of them overflows.
int Saturated(long long value) { return int(std::clamp<long long>(value, INT_MIN, INT_MAX)); }

}  // namespace

ClockPlacement CornerClockPlacement(int screenWidth) {
    return {Saturated(static_cast<long long>(screenWidth) - kClockRadius - kClockMargin),
            kClockRadius + kClockMargin, kClockRadius};
}

int LimitClockCentre(int centre, int radius, int extent) {
    const long long margin = static_cast<long long>(radius) + kClockMargin;
    if (centre < margin) return Saturated(margin);
    if (centre > extent - margin) return Saturated(extent - margin);
    return centre;
}

int LimitClockRadius(int radius, int screenHeight) {
    const int largest = screenHeight / 2 - 2 * kClockMargin;
    if (radius < kClockRadius) return kClockRadius;
    if (radius > largest) return largest;
    return radius;
}

int LeadingInteger(std::string_view text) {
    std::size_t at = 0;
    while (at < text.size() && (text[at] == ' ' || text[at] == '\t')) ++at;
    bool negative = false;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) negative = text[at++] == '-';
    long long value = 0;
    for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at) {
        value = std::min<long long>(value * 10 + (text[at] - '0'), static_cast<long long>(INT_MAX) + 1);
    }
    return Saturated(negative ? -value : value);
}
