// The X window a screensaver host gives the saver to draw into.
#pragma once

#include <optional>

namespace platform::sdl {

struct HostWindow {
    std::optional<unsigned long> id;  // none: the root window
};

}  // namespace platform::sdl
