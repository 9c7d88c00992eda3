// The two water strips: the same sea and beach as the ground, one frame per loop step.
#include "Pictures.h"
#include "Scene.h"

namespace art {

namespace {

// Frames of the screen rectangle (x0, y0, w, h), each pixel the mean of 2 x 2 samples.
Image paintStrip(int x0, int y0, int w, int h) {
    Image strip(w, h * scene::kFrames);
    for (int f = 0; f < scene::kFrames; ++f)
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                Rgb sum;
                for (int s = 0; s < 4; ++s) {
                    const float sx = x0 + x + 0.25f + 0.5f * float(s % 2),
                                sy = y0 + y + 0.25f + 0.5f * float(s / 2);
                    sum = add(sum, scene::surface(sx, sy, float(f)));
                }
                strip.at(x, f * h + y) = scale(sum, 0.25f);
            }
    return strip;
}

}  // namespace

Image paintHighWater() { return paintStrip(0, scene::kHighY, scene::kWidth, scene::kHighH); }
Image paintLowWater() { return paintStrip(scene::kLowX, scene::kLowY, scene::kLowW, scene::kLowH); }

}  // namespace art
