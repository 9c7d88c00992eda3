// Waits for a condition another thread brings about, polling, at most a
// generous while for a loaded machine, so that a fault fails instead of
// hanging.
#pragma once

#include <chrono>
#include <thread>

template <class Condition>
bool Eventually(Condition done) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}
