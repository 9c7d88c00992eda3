// Where the clock overlay may sit: the dialog's limits for its centre and
// radius, the corner it is reset to, and how an edit's text is read.
#pragma once

#include <string_view>

inline constexpr int kClockRadius = 70;  // the default radius, and the smallest
inline constexpr int kClockMargin = 20;  // space between the clock and the screen's edge

struct ClockPlacement {
    int x;
    int y;
    int radius;
    friend bool operator==(const ClockPlacement&, const ClockPlacement&) = default;
};

// The default clock near the top-right corner of a screen `screenWidth` wide.
ClockPlacement CornerClockPlacement(int screenWidth);

// A centre coordinate kept radius + kClockMargin from both ends of `extent` (the
// screen's width or height); the lower limit wins on a screen too small for
// both.
int LimitClockCentre(int centre, int radius, int extent);
// A radius of at least kClockRadius and at most what leaves the margin above
// and below the clock (half the screen's height less 40); the upper limit wins
// on a screen too small for both.
int LimitClockRadius(int radius, int screenHeight);

// The number a text starts with: leading blanks skipped, an optional sign,
// then digits up to the first other character; no digits gives 0, and a
// number beyond the integer range the nearest integer.
int LeadingInteger(std::string_view text);
