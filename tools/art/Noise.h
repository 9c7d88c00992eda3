// Seeded randomness that depends on nothing but its arguments.
#pragma once

#include <cstdint>

namespace art {

// Small counter-based generator (splitmix64): same seed, same sequence everywhere.
class Rng {
public:
    explicit Rng(std::uint64_t seed) : state_(seed) {}
    std::uint64_t next();
    float uniform() { return float(next() >> 40) / float(1 << 24); }  // [0, 1)
    float range(float lo, float hi) { return lo + (hi - lo) * uniform(); }

private:
    std::uint64_t state_;
};

// Value noise in [0, 1]. A period above zero makes it repeat along that axis
// (lattice units), which keeps animated patterns looping.
float valueNoise(float x, float y, std::uint32_t seed, int periodX = 0, int periodY = 0);
// Sum of octaves, each twice the frequency and half the weight; periods double too.
float fbm(float x, float y, std::uint32_t seed, int octaves, int periodX = 0, int periodY = 0);

}  // namespace art
