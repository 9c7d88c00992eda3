// Some X servers (Xvfb among them) now and then drop a fresh connection
// during its handshake; a few more tries tell that from no server at all.
#pragma once

#include <chrono>
#include <thread>

namespace platform::sdl {

// Calls `connect` until it gives a true result, a few times at most, and
// returns its last result.
template <class Connect>
auto ConnectWithRetries(Connect connect) {
    constexpr int kAttempts = 4;
    constexpr auto kPause = std::chrono::milliseconds(50);
    auto result = connect();
    for (int attempt = 1; attempt < kAttempts && !result; ++attempt) {
        std::this_thread::sleep_for(kPause);
        result = connect();
    }
    return result;
}

}  // namespace platform::sdl
