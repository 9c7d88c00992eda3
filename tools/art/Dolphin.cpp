// Dolphin strip: one leap in 19 frames, from surfacing, over the arc, into the water,
// with a splash where it leaves the sea and where it dives back in.
#include "Noise.h"
#include "Pictures.h"
#include "Scene.h"

#include <cmath>

namespace art {

namespace {

constexpr int kW = 88, kH = 39, kFrames = 19;
constexpr float kWater = 31;   // the sea's surface within a frame
constexpr float kLength = 34;  // nose to tail notch

// The leap's path: a parabola from below the surface, over the top, back below it.
Vec2 path(float u) { return {8 + 72 * u, 41 - 34 * 4 * u * (1 - u)}; }

struct Path {
    std::vector<Vec2> pts;
    std::vector<float> arc;
    Path() {
        float s = 0;
        for (int i = 0; i <= 800; ++i) {
            const Vec2 p = path(-0.3f + 1.6f * i / 800);
            if (!pts.empty()) s += length(p - pts.back());
            pts.push_back(p), arc.push_back(s);
        }
    }
    Vec2 at(float s) const {
        for (size_t i = 1; i < pts.size(); ++i)
            if (arc[i] >= s)
                return pts[i - 1] + (pts[i] - pts[i - 1]) * ((s - arc[i - 1]) / (arc[i] - arc[i - 1]));
        return pts.back();
    }
    float crossing(bool rising) const {  // arc length where the path meets the surface
        for (size_t i = 1; i < pts.size(); ++i) {
            const bool up = pts[i - 1].y >= kWater && pts[i].y < kWater,
                       down = pts[i - 1].y < kWater && pts[i].y >= kWater;
            if (rising ? up : down) return arc[i];
        }
        return 0;
    }
};

float thickness(float a) {  // half-thickness along the body, a = 0 at the nose
    if (a < 0.07f) return lerp(1.4f, 2.0f, a / 0.07f);
    if (a < 0.16f) return lerp(2.0f, 4.8f, smoothstep(0.07f, 0.16f, a));
    if (a < 0.4f) return lerp(4.8f, 5.8f, smoothstep(0.16f, 0.4f, a));
    return lerp(5.8f, 1.4f, smoothstep(0.4f, 0.95f, a));
}

struct Body {
    std::vector<Vec2> spine;  // nose to tail
    std::vector<Vec2> back;   // unit normal toward the back at each spine point
};

Body bodyAt(const Path& path, float noseArc) {
    Body b;
    const int n = 48;
    for (int i = 0; i <= n; ++i) b.spine.push_back(path.at(noseArc - kLength * i / n));
    for (int i = 0; i <= n; ++i) {
        const Vec2 t =
            normalize(b.spine[std::max(i - 1, 0)] - b.spine[std::min(i + 1, n)]);  // toward the nose
        Vec2 nrm{t.y, -t.x};
        if (t.x < 0) nrm = nrm * -1;
        b.back.push_back(nrm);
    }
    return b;
}

const Rgb kBack = rgb8(70, 92, 120), kBelly = rgb8(214, 222, 228);

void drawBody(Layer& layer, const Body& b) {
    const size_t n = b.spine.size() - 1;
    Stroke outline;
    for (size_t i = 0; i <= n; ++i)
        outline.pts.push_back(b.spine[i]), outline.half.push_back(thickness(float(i) / n));
    auto above = [](Vec2 q) { return q.y < kWater; };
    auto shade = [&](Vec2 q) {
        size_t best = 0;
        float bestD = 1e9f;
        for (size_t i = 0; i <= n; ++i)
            if (float d = length(q - b.spine[i]); d < bestD) bestD = d, best = i;
        const float a = float(best) / n;
        const float v = std::clamp(dot(q - b.spine[best], b.back[best]) / thickness(a), -1.f, 1.f);
        Rgb c = mix(kBelly, kBack, smoothstep(-0.45f, 0.2f, v));
        c = scale(c, 0.8f + 0.3f * clamp01(v + 0.5f));
        c = mix(c, rgb8(226, 236, 244), 0.45f * std::exp(-std::pow((v - 0.55f) / 0.18f, 2.f)));  // sheen
        const Vec2 eye = b.spine[size_t(0.1f * n)] + b.back[size_t(0.1f * n)] * 0.6f;
        if (length(q - eye) < 0.9f) c = rgb8(20, 24, 30);
        return c;
    };
    fillShape(
        layer, outline.bounds(), 6, [&](Vec2 q) { return above(q) && outline.contains(q); }, shade);

    auto fin = [&](Polygon poly, Rgb c) {
        fillShape(
            layer, bounds(poly), 6, [&](Vec2 q) { return above(q) && contains(poly, q); },
            [&](Vec2) { return c; });
    };
    auto on = [&](float a, float v, float out) {  // a point on the body surface, pushed outward
        const size_t i = size_t(a * n);
        return b.spine[i] + b.back[i] * (v * thickness(a) + out);
    };
    const Vec2 tailDir = normalize(b.spine[n] - b.spine[n - 2]);
    const Vec2 tail = b.spine[n];
    // Dorsal fin, swept back; pectoral fin below; flukes spread at the tail.
    fin({on(0.36f, 0.9f, 0), on(0.5f, 0.95f, 0), on(0.56f, 1, 5.2f), on(0.5f, 1, 4.2f)}, scale(kBack, 0.9f));
    fin({on(0.2f, -0.8f, 0), on(0.27f, -0.9f, 0), on(0.34f, -1, 3.4f)}, scale(kBack, 1.1f));
    const Vec2 side = perp(tailDir);
    fin({tail - tailDir * 2.f, tail + side * 4.6f + tailDir * 3.2f, tail + tailDir * 1.6f,
         tail - side * 4.6f + tailDir * 3.2f},
        scale(kBack, 0.85f));
}

// Spray thrown up where the dolphin breaks the surface, `age` frames after it began.
void drawSplash(Layer& layer, float x, float age, std::uint64_t seed, float strength) {
    if (age < 0) return;
    const Rgb foam = rgb8(238, 246, 248), spray = rgb8(206, 228, 236);
    // The white patch on the surface, spreading and thinning out.
    const float w = (5 + 4 * age) * strength, life = std::exp(-age / 4.5f);
    if (life > 0.3f)
        fillShape(
            layer, Box{x - w - 1, kWater - 4, x + w + 1, kWater + 3}, 6,
            [&](Vec2 q) {
                const float e = std::pow((q.x - x) / w, 2.f) +
                                std::pow((q.y - kWater + 0.5f) / (1.2f + 1.4f * life), 2.f);
                return e < 1 && valueNoise(q.x * 0.7f, age * 3, std::uint32_t(seed)) < 0.35f + 0.6f * life;
            },
            [&](Vec2 q) { return mix(foam, spray, clamp01((q.y - kWater + 2) / 3)); });
    Rng rng(seed);
    for (int i = 0; i < 16; ++i) {
        const float vx = rng.range(-1.6f, 1.6f) * strength, vy = rng.range(-3.6f, -1.4f) * strength;
        const float r = rng.range(0.8f, 1.6f), delay = rng.range(0, 1.5f);
        const float t = age - delay + 0.6f;
        if (t <= 0) continue;
        const Vec2 p{x + vx * t, kWater - 1 + vy * t + 0.42f * t * t};
        if (p.y > kWater - 0.5f) continue;
        fillShape(
            layer, Box{p.x - 2, p.y - 2, p.x + 2, p.y + 2}, 6, [&](Vec2 q) { return length(q - p) < r; },
            [&](Vec2) { return i % 3 ? foam : spray; });
    }
}

}  // namespace

Keyed paintDolphin() {
    const Path path;
    const float rise = path.crossing(true), dive = path.crossing(false);
    const float first = rise + 3, last = dive + kLength - 1;  // nose arc in frame 0 and frame 17
    const float xRise = path.at(rise).x, xDive = path.at(dive).x;
    const Rgb sea = scene::surface(440, 405, 0);
    std::vector<Keyed> frames;
    for (int f = 0; f < kFrames; ++f) {
        Layer layer(kW, kH);
        const float nose = first + (last - first) * float(f) / 17;
        const float diveAge = (nose - dive) / ((last - first) / 17);  // frames since the nose went in
        if (f <= 17) drawBody(layer, bodyAt(path, nose));
        drawSplash(layer, xRise, float(f) + 1, 101, 1.0f);
        drawSplash(layer, xDive, diveAge, 202, 1.15f);
        frames.push_back(threshold(layer, [&](int, int) { return sea; }));
    }
    return stackFrames(frames);
}

}  // namespace art
