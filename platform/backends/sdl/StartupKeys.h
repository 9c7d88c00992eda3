// Keys already held down as a window of ours is made: a screensaver host's
// hot key, a key leant on. The X server repeats such a key into the new
// window as if it had been pressed there; it is no input to that window.
#pragma once

#include <array>
#include <cstdint>

namespace platform::sdl {

// One bit for each X key code.
using KeyBitmap = std::array<std::uint8_t, 32>;

// The keys that were down as a window was made, until each has been let go.
// While one is held no key counts: which key an event comes from is not
// told in X key codes, and a fresh press meanwhile is rare and harmless to
// miss. A key let go while another window had the keyboard is noticed at
// the next key to go up.
class StartupKeys {
public:
    StartupKeys() = default;
    explicit StartupKeys(const KeyBitmap& down) : held_(down) {}

    // A key went up; `downNow` are the keys still down.
    void KeyReleased(const KeyBitmap& downNow);
    bool Holding() const;

private:
    KeyBitmap held_{};
};

}  // namespace platform::sdl
