// The video modes the program offers beside the desktop's own: the settings
// dialog's options, and on Linux what every back end's screen offers (it
// shows the primary scaled, so it can offer any size).
#pragma once

#include <array>

namespace platform {

struct ModeSize {
    int width = 0;
    int height = 0;
    friend bool operator==(const ModeSize&, const ModeSize&) = default;
};

// In the order the dialog lists them.
inline constexpr std::array<ModeSize, 4> kFixedModeSizes{
    {{800, 600}, {1024, 768}, {1152, 864}, {1280, 1024}}};
// Each size is offered at each of these, in this order.
inline constexpr std::array<int, 3> kOfferedDepths{16, 24, 32};

}  // namespace platform
