// The runtime's pseudo-random generator: a 32-bit linear congruential state
// whose draws are bits 16 to 30 of the new state (0 to 32767).
#pragma once

#include <cstdint>

class RandomGenerator {
public:
    // Sets the state and discards one draw, as seeding from the clock does.
    void Seed(std::uint32_t seed) {
        state_ = seed;
        Next();
    }
    int Next() {
        state_ = state_ * 22695477u + 1u;
        return int((state_ >> 16) & 0x7FFF);
    }
    // random(n): the next draw modulo n.
    int operator()(int n) { return Next() % n; }
    std::uint32_t State() const { return state_; }

private:
    std::uint32_t state_ = 1;
};
