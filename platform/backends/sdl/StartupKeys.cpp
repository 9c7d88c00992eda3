#include "platform/backends/sdl/StartupKeys.h"

#include <algorithm>

namespace platform::sdl {

void StartupKeys::KeyReleased(const KeyBitmap& downNow) {
    for (std::size_t i = 0; i < held_.size(); ++i) held_[i] &= downNow[i];
}

bool StartupKeys::Holding() const {
    return std::any_of(held_.begin(), held_.end(), [](std::uint8_t bits) { return bits != 0; });
}

}  // namespace platform::sdl
