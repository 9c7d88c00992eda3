#include "Sprite.h"

#include <stdexcept>

namespace art {

Keyed threshold(const Layer& layer, const std::function<Rgb(int x, int y)>& backdrop) {
    Keyed out{Image(layer.w, layer.h), std::vector<bool>(layer.px.size(), false)};
    for (int y = 0; y < layer.h; ++y)
        for (int x = 0; x < layer.w; ++x) {
            const Rgba p = layer.at(x, y);
            if (p.a < 0.5f) continue;
            out.colour.at(x, y) = over(backdrop(x, y), p);
            out.opaque[size_t(y) * layer.w + x] = true;
        }
    return out;
}

Keyed stackFrames(const std::vector<Keyed>& frames) {
    Keyed out{Image(frames.front().colour.w, 0), {}};
    for (const Keyed& f : frames) {
        out.colour.px.insert(out.colour.px.end(), f.colour.px.begin(), f.colour.px.end());
        out.colour.h += f.colour.h;
        out.opaque.insert(out.opaque.end(), f.opaque.begin(), f.opaque.end());
    }
    return out;
}

Keyed mirrored(const Keyed& frame) {
    Keyed out = frame;
    const int w = frame.colour.w;
    for (int y = 0; y < frame.colour.h; ++y)
        for (int x = 0; x < w; ++x) {
            out.colour.at(x, y) = frame.colour.at(w - 1 - x, y);
            out.opaque[size_t(y) * w + x] = frame.opaque[size_t(y) * w + (w - 1 - x)];
        }
    return out;
}

Indexed keyedStrip(const Keyed& strip, int frameHeight) {
    for (int y = 0; y < strip.colour.h; y += frameHeight)
        if (strip.opaque[size_t(y) * strip.colour.w])
            throw std::runtime_error("a frame's top-left pixel is part of its figure");
    return quantiseKeyed(strip.colour, strip.opaque);
}

Image showKeyed(const Indexed& strip, Rgb keyShownAs) {
    Image out(strip.w, strip.h);
    for (int y = 0; y < strip.h; ++y)
        for (int x = 0; x < strip.w; ++x)
            out.at(x, y) = strip.index[size_t(y) * strip.w + x] == 0 ? keyShownAs : toRgb(strip.colour(x, y));
    return out;
}

}  // namespace art
