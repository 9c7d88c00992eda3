// Colour-keyed figures: coverage thresholded at the silhouette, strips of frames.
#pragma once

#include "Indexed.h"
#include "Raster.h"

#include <functional>
#include <vector>

namespace art {

struct Keyed {
    Image colour;
    std::vector<bool> opaque;
};

// A pixel at least half covered belongs to the figure; its uncovered part is blended
// with `backdrop` (what the figure is usually seen against), never with the key.
Keyed threshold(const Layer& layer, const std::function<Rgb(int x, int y)>& backdrop);
Keyed stackFrames(const std::vector<Keyed>& frames);
Keyed mirrored(const Keyed& frame);
// Quantises a strip; fails if any frame's top-left pixel is part of the figure.
Indexed keyedStrip(const Keyed& strip, int frameHeight);
// The figure over a picture, as the key would show it (for checking sheets).
Image showKeyed(const Indexed& strip, Rgb keyShownAs);

}  // namespace art
