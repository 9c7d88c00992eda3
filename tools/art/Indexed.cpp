#include "Indexed.h"

#include <algorithm>
#include <map>
#include <stdexcept>

namespace art {

Rgb8 toRgb8(Rgb c) {
    auto q = [](float v) { return std::uint8_t(std::lround(clamp01(v) * 255.f)); };
    return {q(c.r), q(c.g), q(c.b)};
}

namespace {

int channel(Rgb8 c, int ch) { return ch == 0 ? c.r : ch == 1 ? c.g : c.b; }
std::uint32_t packed(Rgb8 c) { return std::uint32_t(c.r) << 16 | std::uint32_t(c.g) << 8 | c.b; }

struct Bucket {
    size_t begin, end;
    int widest = 0, spread = 0;
};

void measure(const std::vector<Rgb8>& colours, Bucket& b) {
    b.spread = -1;
    for (int ch = 0; ch < 3; ++ch) {
        int lo = 255, hi = 0;
        for (size_t i = b.begin; i < b.end; ++i)
            lo = std::min(lo, channel(colours[i], ch)), hi = std::max(hi, channel(colours[i], ch));
        if (hi - lo > b.spread) b.spread = hi - lo, b.widest = ch;
    }
}

std::vector<Rgb8> medianCut(std::vector<Rgb8> colours, int count) {
    std::vector<Bucket> buckets{{0, colours.size()}};
    measure(colours, buckets[0]);
    while (int(buckets.size()) < count) {
        // Split the bucket whose spread weighs most (spread times pixel count).
        auto best = std::max_element(buckets.begin(), buckets.end(), [](const Bucket& a, const Bucket& b) {
            return double(a.spread) * double(a.end - a.begin) < double(b.spread) * double(b.end - b.begin);
        });
        if (best->spread <= 0 || best->end - best->begin < 2) break;
        Bucket b = *best;
        const int ch = b.widest;
        std::sort(colours.begin() + b.begin, colours.begin() + b.end, [ch](Rgb8 x, Rgb8 y) {
            return channel(x, ch) != channel(y, ch) ? channel(x, ch) < channel(y, ch) : packed(x) < packed(y);
        });
        const size_t mid = (b.begin + b.end) / 2;
        Bucket lo{b.begin, mid}, hi{mid, b.end};
        measure(colours, lo);
        measure(colours, hi);
        *best = lo;
        buckets.push_back(hi);
    }
    std::vector<Rgb8> palette;
    for (const Bucket& b : buckets) {
        double s[3] = {0, 0, 0};
        for (size_t i = b.begin; i < b.end; ++i)
            for (int ch = 0; ch < 3; ++ch) s[ch] += channel(colours[i], ch);
        const double n = double(b.end - b.begin);
        palette.push_back({std::uint8_t(std::lround(s[0] / n)), std::uint8_t(std::lround(s[1] / n)),
                           std::uint8_t(std::lround(s[2] / n))});
    }
    return palette;
}

std::uint8_t nearest(const std::vector<Rgb8>& palette, size_t first, Rgb8 c) {
    size_t best = first;
    int bestDist = 1 << 30;
    for (size_t i = first; i < palette.size(); ++i) {
        const int dr = palette[i].r - c.r, dg = palette[i].g - c.g, db = palette[i].b - c.b;
        const int d = 3 * dr * dr + 4 * dg * dg + 2 * db * db;
        if (d < bestDist) bestDist = d, best = i;
    }
    return std::uint8_t(best);
}

Indexed build(const Image& picture, const std::vector<bool>* opaque, int colours) {
    Indexed out{picture.w, picture.h, {}, std::vector<std::uint8_t>(picture.px.size(), 0)};
    std::vector<Rgb8> samples;
    for (size_t i = 0; i < picture.px.size(); ++i)
        if (!opaque || (*opaque)[i]) samples.push_back(toRgb8(picture.px[i]));
    const size_t first = opaque ? 1 : 0;
    if (opaque) out.palette.push_back(kKey);
    for (Rgb8 c : medianCut(samples, colours - int(first))) {
        // A figure colour must never be mistaken for the key, even after 16-bit reduction.
        if (std::abs(c.r - kKey.r) + std::abs(c.g - kKey.g) + std::abs(c.b - kKey.b) < 120)
            throw std::runtime_error("figure colour too close to the key");
        out.palette.push_back(c);
    }
    std::map<std::uint32_t, std::uint8_t> cache;
    for (size_t i = 0; i < picture.px.size(); ++i) {
        if (opaque && !(*opaque)[i]) continue;
        const Rgb8 c = toRgb8(picture.px[i]);
        auto [it, fresh] = cache.try_emplace(packed(c), 0);
        if (fresh) it->second = nearest(out.palette, first, c);
        out.index[i] = it->second;
    }
    return out;
}

}  // namespace

Indexed quantise(const Image& picture, int colours) { return build(picture, nullptr, colours); }

Indexed quantiseKeyed(const Image& picture, const std::vector<bool>& opaque) {
    return build(picture, &opaque, 256);
}

}  // namespace art
