// Where the layers sit on the 800 x 600 screen, and the sky, sea and beach they share:
// every picture that meets another is painted from these, so the joins match.
#pragma once

#include "Raster.h"

namespace art::scene {

constexpr int kWidth = 800, kHeight = 600;
constexpr float kHorizon = 318;
constexpr int kFrames = 32;  // water loop length
constexpr int kGroundH = 408;
constexpr int kHighY = 394, kHighH = 92;
constexpr int kLowX = 189, kLowY = 485, kLowW = 611, kLowH = 115;
constexpr int kStoneY = 356, kStoneH = 245;
constexpr int kMaskX = 29, kMaskY = 192, kMaskW = 41, kMaskH = 165;

// Sun direction for shading: from the upper right, a little in front.
struct Light {
    float x = 0.62f, y = -0.55f, z = 0.56f;
};

// Clear sky (no clouds) at a screen point.
Rgb sky(float x, float y);
// Sea and beach below the horizon at water frame `t` (0 to kFrames, periodic).
// Rows above kHighY never move, so the still ground matches every frame there.
Rgb surface(float x, float y, float t);
// Where the dry beach begins at screen column x (the highest run-up).
float beachLine(float x);

}  // namespace art::scene
