// The SDL back end as the rest of the program sees it: how the saver's
// display is opened. Needs none of SDL's headers.
#pragma once

#include "platform/backends/sdl/HostWindow.h"
#include "platform/seam/Backend.h"

#include <optional>
#include <string>

namespace platform::sdl {

struct Options {
    // The saver in an ordinary resizable window instead of the full screen.
    bool windowed = false;
    // The saver in a host's window: the display is that window, at its size
    // (never smaller than 640 x 480, scaled down into it), without input or
    // cursor changes, and message boxes go to standard error.
    std::optional<HostWindow> host;
};

// The display mode of a host's window of the given size.
ScreenMode HostDisplayMode(int windowWidth, int windowHeight);

// Opens the display and installs the SDL back end as the process's back
// end; false, with the reason in `error`, when no display can be opened.
bool Install(const Options& options = {}, std::string* error = nullptr);

}  // namespace platform::sdl
