#include "platform/sdl/StartupKeys.h"

#include <SDL_syswm.h>
#include <X11/Xlib.h>

#include <algorithm>

namespace platform::sdl {

KeyBitmap KeysDownNow(SDL_Window* window) {
    KeyBitmap down{};
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (window != nullptr && SDL_GetWindowWMInfo(window, &info) && info.subsystem == SDL_SYSWM_X11) {
        char keys[32];
        XQueryKeymap(info.info.x11.display, keys);
        std::copy(std::begin(keys), std::end(keys), down.begin());
    }
    return down;
}

void StartupKeys::KeyReleased(const KeyBitmap& downNow) {
    for (std::size_t i = 0; i < held_.size(); ++i) held_[i] &= downNow[i];
}

bool StartupKeys::Holding() const {
    return std::any_of(held_.begin(), held_.end(), [](std::uint8_t bits) { return bits != 0; });
}

}  // namespace platform::sdl
