#include "Scene.h"

#include "Noise.h"

#include <cmath>

namespace art::scene {

namespace {

constexpr float kCamera = 400;    // focal length in pixels, camera height 1
constexpr float kSwell = 0.8f;    // swell wavelength in camera heights
constexpr float kLoop = 2 * kPi;  // one water loop in radians

float frac(float v) { return v - std::floor(v); }
float depthOf(float y) { return kCamera / std::max(y - kHorizon, 0.5f); }

// Swell crest coordinate: whole numbers are crests, growing by one per loop so that
// every crest takes the place of the one before it.
float crestCoordinate(float x, float y, float t) {
    const float z = depthOf(y), sx = (x - 400) / std::max(y - kHorizon, 0.5f);
    return z / kSwell + t / kFrames + 0.06f * std::sin(sx * 1.3f + 0.7f) + 0.04f * std::sin(sx * 3.1f);
}

// Small ripples on the swell, each repeating a whole number of times per loop.
struct Ripple {
    float kx, kz, amp, phase;
    int speed;
};
constexpr Ripple kRipples[] = {
    {1.9f, 6.1f, 1.0f, 0.3f, 1},    {-2.7f, 7.3f, 0.8f, 1.9f, 2},   {4.1f, 9.7f, 0.6f, 4.2f, 2},
    {-5.3f, 12.1f, 0.5f, 2.2f, 3},  {7.7f, 15.9f, 0.4f, 5.1f, 3},   {-9.1f, 21.3f, 0.3f, 0.9f, 4},
    {12.3f, 27.7f, 0.25f, 3.3f, 4}, {-15.1f, 33.1f, 0.2f, 1.4f, 5},
};

// Ripple slope toward the viewer, faded where a ripple gets finer than the pixels.
float rippleSlope(float x, float y, float t) {
    const float s = std::max(y - kHorizon, 0.5f), z = kCamera / s, wx = (x - 400) / s;
    const float dzdy = kCamera / (s * s), dxdx = 1 / s;
    float slope = 0;
    for (const Ripple& r : kRipples) {
        const float perPixel = std::hypot(r.kx * dxdx, r.kz * dzdy);
        const float fade = smoothstep(2.2f, 0.9f, perPixel);
        if (fade <= 0) continue;
        const float p = r.kx * wx + r.kz * z + kLoop * r.speed * t / kFrames + r.phase;
        slope += fade * r.amp * std::cos(p);
    }
    return slope;
}

Rgb openWater(float y) {
    const float s = y - kHorizon;
    Rgb c = mix(rgb8(186, 206, 214), rgb8(78, 134, 168), smoothstep(0, 16, s));
    c = mix(c, rgb8(26, 98, 140), smoothstep(12, 90, s));
    return mix(c, rgb8(30, 142, 156), smoothstep(115, 185, s));
}

// Sun glitter is strongest under the sun, on the right.
float sunColumn(float x) { return std::exp(-std::pow((x - 680) / 150, 2.f)); }

// Sun glints: one at a random spot of each cell of a grid laid on the sea in
// perspective, twinkling a whole number of times per loop.
float glitter(float x, float y, float t) {
    const float s = y - kHorizon;
    if (s < 3) return 0;
    const float u = (x - 400) / s * 22, v = 40 * std::log(s);
    const float cu = std::floor(u), cv = std::floor(v);
    Rng rng(std::uint64_t(std::int64_t(cu) * 7919 + std::int64_t(cv) * 104729) ^ 0xA5A5u);
    const float chance = 0.04f + 0.5f * sunColumn(x);
    if (rng.uniform() > chance) return 0;
    const Vec2 spot{cu + rng.range(0.2f, 0.8f), cv + rng.range(0.2f, 0.8f)};
    const float speed = float(1 + int(rng.uniform() * 3)), phase = rng.uniform();
    const float twinkle = std::pow(std::max(0.f, std::sin(kLoop * (speed * t / kFrames + phase))), 3.f);
    const float du = (u - spot.x) / 0.42f, dv = (v - spot.y) / 0.32f;
    return clamp01(1.6f * std::exp(-(du * du + dv * dv) * 1.5f) * twinkle) * smoothstep(3, 30, s);
}

// Sea with swell, ripples, glints and breaking foam.
Rgb water(float x, float y, float t) {
    const float s = y - kHorizon;
    Rgb c = openWater(y);
    const float near = smoothstep(20, 170, s);
    const float ripple = rippleSlope(x, y, t);
    // Ripples facing the sky are lighter, those facing the viewer darker.
    c = add(c, scale(rgb8(40, 48, 44), 0.06f * ripple * (0.4f + near)));

    const float q = frac(crestCoordinate(x, y, t));
    const float face = q > 0.78f ? (q - 0.78f) / 0.22f : 0;  // steep front of the crest
    const float back = q < 0.78f ? q / 0.78f : 0;
    const float swell = smoothstep(30, 150, s);
    c = mix(c, rgb8(20, 78, 112), swell * 0.35f * face * face);  // shade under the lip
    c = mix(c, rgb8(52, 170, 168),
            swell * 0.55f * smoothstep(0.55f, 0.95f, face) * (1 - smoothstep(0.96f, 1.f, face)));
    c = mix(c, rgb8(120, 175, 200),
            swell * 0.25f * smoothstep(0.15f, 0, back));  // sky on the back of the crest

    c = mix(c, rgb8(250, 250, 240), glitter(x, y, t));

    // Breaking: foam rides on the crest and trails behind it as the wave nears the beach.
    const float breaking = smoothstep(140, 168, s);
    if (breaking > 0) {
        const float cc = crestCoordinate(x, y, t);
        const float lace = fbm(x / 7.f, cc * 8.f, 77u, 3, 0, 8);
        const float front = q > 0.5f ? smoothstep(0.88f, 0.995f, q) : smoothstep(0.3f, 0.02f, q);
        const float trail = q < 0.6f ? smoothstep(0.6f, 0.1f, q) * 0.55f : 0;
        const float foam =
            clamp01(std::max(front * (0.7f + 0.5f * lace), trail * smoothstep(0.45f, 0.7f, lace)));
        c = mix(c, rgb8(236, 244, 242), breaking * foam);
    }
    return c;
}

// Mean water line and swash reach.
float shoreLine(float x) { return 548 - 0.045f * (x - 500) + 5 * std::sin(x * 0.013f + 1); }
constexpr float kRunUp = 14, kBackwash = 18;

float runUp(float phase) {
    if (phase < 0.32f) return 1 - std::pow(1 - phase / 0.32f, 2.f);
    return smoothstep(1.f, 0.32f, phase);
}

Rgb sand(float x, float y, float wet) {
    const float grain = valueNoise(x * 0.9f, y * 1.3f, 5u) * 0.5f + fbm(x / 23.f, y / 9.f, 6u, 3) * 0.5f;
    Rgb dry = mix(rgb8(222, 200, 156), rgb8(236, 218, 178), grain);
    Rgb damp = mix(rgb8(168, 146, 110), rgb8(186, 164, 126), grain);
    return mix(dry, damp, wet);
}

}  // namespace

float beachLine(float x) { return shoreLine(x) + kRunUp; }

Rgb sky(float x, float y) {
    const float h = clamp01(y / kHorizon);
    Rgb c = mix(rgb8(58, 128, 206), rgb8(120, 178, 226), smoothstep(0, 0.75f, h));
    c = mix(c, rgb8(196, 214, 222), smoothstep(0.7f, 1.f, h));
    const float glow = std::exp(-(std::pow((x - 820) / 260, 2.f) + std::pow((y + 60) / 200, 2.f)));
    return mix(c, rgb8(236, 242, 236), 0.75f * glow);
}

Rgb surface(float x, float y, float t) {
    const float motion = smoothstep(kHighY, kHighY + 24, y);
    if (motion <= 0) t = 0;
    Rgb sea = water(x, y, t);
    if (motion < 1) sea = mix(water(x, y, 0), sea, motion);

    const float line = shoreLine(x), low = line - kBackwash;
    if (y < low - 60) return sea;
    // Swash: the broken wave reaches the low mark as its crest passes it, runs up, drains back.
    const float phase = frac(crestCoordinate(x, low, t));
    const float edge = low + (kRunUp + kBackwash) * runUp(phase) + 2.5f * (fbm(x / 9.f, 0, 31u, 2) - 0.5f);
    const float wetness = smoothstep(line + kRunUp + 6, line + kRunUp - 2, y);
    if (y > edge) {
        Rgb c = sand(x, y, wetness);
        const float sheen = wetness * smoothstep(line + kRunUp, low, y) * 0.35f;  // sky mirrored in wet sand
        return mix(c, rgb8(170, 196, 206), sheen);
    }
    const float depth = edge - y;
    Rgb c = mix(mix(sand(x, y, 1), rgb8(120, 190, 185), 0.45f), sea, smoothstep(2, 55, depth));
    const float lace = fbm(x / 6.f, depth / 3.f, 93u, 3);
    const float edgeFoam = smoothstep(7 + 5 * lace, 1.5f, depth);
    const float sheetFoam = smoothstep(0.55f, 0.75f, lace) * smoothstep(34, 8, depth) * (1 - phase * 0.6f);
    return mix(c, rgb8(240, 246, 244), clamp01(std::max(edgeFoam, sheetFoam)));
}

}  // namespace art::scene
