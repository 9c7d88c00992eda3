// 8-bit palette pictures: quantisation of full-colour drawings.
#pragma once

#include "Raster.h"

#include <array>
#include <cstdint>
#include <vector>

namespace art {

struct Rgb8 {
    std::uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Rgb8&) const = default;
};
Rgb8 toRgb8(Rgb c);
inline Rgb toRgb(Rgb8 c) { return rgb8(c.r, c.g, c.b); }

struct Indexed {
    int w = 0, h = 0;
    std::vector<Rgb8> palette;
    std::vector<std::uint8_t> index;  // top-down rows
    Rgb8 colour(int x, int y) const { return palette[index[size_t(y) * w + x]]; }
};

// Transparent pixels use this key, kept as entry 0 and far from any figure colour.
constexpr Rgb8 kKey{255, 0, 255};

// Median-cut palette of at most `colours` entries, nearest-colour mapping.
Indexed quantise(const Image& picture, int colours = 256);
// Pixels outside `opaque` take entry 0 (the key); the rest share the other 255 entries.
Indexed quantiseKeyed(const Image& picture, const std::vector<bool>& opaque);

}  // namespace art
