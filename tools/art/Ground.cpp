// The still picture: sky with clouds, the sea with a distant island, the palm in front.
#include "Noise.h"
#include "Pictures.h"
#include "Scene.h"

#include <cmath>

namespace art {

namespace {

using scene::kHorizon;

struct Puff {
    Vec2 c;
    float r;
};
struct Cloud {
    std::vector<Puff> puffs;
    float base;  // flat underside
    float haze;  // how far away: fades toward the horizon colour
};

std::vector<Cloud> makeClouds() {
    struct Seed {
        float x, base, width, height, haze;
    };
    const Seed seeds[] = {
        {250, 150, 190, 58, 0.05f}, {560, 118, 150, 44, 0.0f},  {740, 205, 170, 50, 0.15f},
        {400, 238, 210, 40, 0.3f},  {120, 262, 160, 30, 0.4f},  {640, 276, 240, 26, 0.5f},
        {300, 294, 300, 16, 0.62f}, {760, 300, 150, 12, 0.65f}, {470, 60, 120, 30, 0.0f},
    };
    Rng rng(20240611);
    std::vector<Cloud> clouds;
    for (const Seed& s : seeds) {
        Cloud c{{}, s.base, s.haze};
        const int n = 9 + int(s.width / (s.height * 0.6f));
        for (int i = 0; i < n; ++i) {
            const float u = rng.range(-1, 1);
            const float r = s.height * (0.35f + 0.65f * (1 - u * u)) * rng.range(0.55f, 0.95f);
            c.puffs.push_back({{s.x + u * s.width / 2, s.base - r * rng.range(0.3f, 0.9f)}, r});
        }
        clouds.push_back(c);
    }
    return clouds;
}

// Cloud density: soft blobs merged together, frayed by noise.
float density(const Cloud& cloud, Vec2 p) {
    float d = 0;
    for (const Puff& puff : cloud.puffs) {
        const Vec2 q = p - puff.c;
        d += std::exp(-dot(q, q) / (puff.r * puff.r * 0.55f));
    }
    d += 0.45f * (fbm(p.x / 26.f, p.y / 16.f, 23u, 4) - 0.5f);
    return d * smoothstep(cloud.base + 4, cloud.base - 10, p.y);
}

Rgb skyWithClouds(const std::vector<Cloud>& clouds, float x, float y) {
    Rgb c = scene::sky(x, y);
    // Faint high streaks.
    const float streak = smoothstep(0.58f, 0.8f, fbm(x / 160.f, y / 14.f, 11u, 4)) * smoothstep(240, 40, y);
    c = mix(c, rgb8(240, 244, 248), 0.35f * streak);
    const scene::Light sun;
    const Vec2 toSun = normalize(Vec2{sun.x, sun.y});
    for (const Cloud& cloud : clouds) {
        const Box reach = [&] {
            Box b;
            for (const Puff& p : cloud.puffs)
                b.grow(p.c - Vec2{p.r * 1.6f, p.r * 1.6f}), b.grow(p.c + Vec2{p.r * 1.6f, p.r * 1.6f});
            return b;
        }();
        if (x < reach.x0 || x > reach.x1 || y < reach.y0 || y > reach.y1) continue;
        const float d = density(cloud, {x, y});
        const float cover = smoothstep(0.35f, 0.75f, d);
        if (cover <= 0) continue;
        // Thicker cloud between this point and the sun puts it in shade.
        const float shadow = clamp01((density(cloud, Vec2{x, y} + toSun * 9.f) - d) * 1.4f + 0.25f);
        const float under = smoothstep(cloud.base - 26, cloud.base, y);
        Rgb shade = mix(rgb8(255, 255, 250), rgb8(164, 180, 204), clamp01(shadow + 0.45f * under));
        shade = mix(shade, scene::sky(x, y), cloud.haze);
        c = mix(c, shade, cover * (1 - 0.45f * cloud.haze));
    }
    return c;
}

// Distant islands: a hill line above the horizon for each.
struct Island {
    float x0, x1, height, haze;
    std::uint32_t seed;
};
constexpr Island kIslands[] = {{420, 700, 30, 0.42f, 3u}, {228, 318, 12, 0.62f, 4u}};

float islandTop(const Island& is, float x) {
    const float u = (x - is.x0) / (is.x1 - is.x0);
    if (u <= 0 || u >= 1) return kHorizon;
    const float hill = std::pow(std::sin(kPi * u), 0.7f) * (0.75f + 0.25f * std::sin(u * 9.f));
    const float bumps = (fbm(x / 9.f, 0.5f, is.seed, 3) - 0.5f) * 0.25f;
    return kHorizon - 1 - is.height * std::max(0.f, hill + bumps * std::sin(kPi * u));
}

Rgb islandColour(const Island& is, float x, float y) {
    const float top = islandTop(is, x);
    // Sunlit slopes face right; clumps of trees give the green its texture.
    const float slope = (islandTop(is, x - 12) - islandTop(is, x + 12)) / 24;
    const float clumps = fbm(x / 5.f, y / 3.f, is.seed + 9, 3);
    const float lit = clamp01(0.5f + 1.6f * slope + 0.5f * (clumps - 0.5f));
    Rgb c = mix(rgb8(46, 86, 62), rgb8(112, 146, 86), lit);
    c = mix(c, rgb8(34, 64, 50), 0.45f * smoothstep(top + 3, kHorizon - 2, y));
    if (y > kHorizon - 2.5f) c = rgb8(222, 214, 184);  // beach at the waterline
    return mix(c, rgb8(178, 198, 208), is.haze);
}

void paintIslandPalms(Layer& layer, const Island& is, Rgb colour) {
    Rng rng(is.seed * 7919u);
    const int n = int((is.x1 - is.x0) / 28);
    for (int i = 0; i < n; ++i) {
        const float x = rng.range(is.x0 + 20, is.x1 - 20);
        const float h = rng.range(5, 9) * is.height / 30;
        const Vec2 foot{x, islandTop(is, x) + 1}, top = foot + Vec2{rng.range(-2, 2), -h};
        fillStroke(layer, Stroke{{foot, top}, {0.5f, 0.4f}}, colour, 6);
        for (int f = 0; f < 5; ++f) {
            const float a = -kPi / 2 + (f - 2) * 0.75f + rng.range(-0.2f, 0.2f);
            const Vec2 d{std::cos(a), std::sin(a)};
            const Vec2 tip = top + d * (h * 0.45f) + Vec2{0, h * 0.22f};
            fillStroke(layer, Stroke{{top, top + d * (h * 0.3f), tip}, {0.55f, 0.45f, 0.2f}}, colour, 6);
        }
    }
}

// The palm trunk: a leaning cubic curve, shaded as a cylinder lit from the right.
struct Trunk {
    Vec2 p[4] = {{44, 430}, {46, 300}, {46, 170}, {84, 62}};
    std::vector<Vec2> line;
    std::vector<float> half;
    Stroke stroke;

    Trunk() {
        for (int i = 0; i <= 60; ++i) {
            const float t = i / 60.f, u = 1 - t;
            line.push_back(p[0] * (u * u * u) + p[1] * (3 * u * u * t) + p[2] * (3 * u * t * t) +
                           p[3] * (t * t * t));
            half.push_back(lerp(9.5f, 6.f, t) + 1.2f * std::exp(-t * 30));
        }
        stroke = {line, half};
    }
    bool contains(Vec2 q) const { return stroke.contains(q); }
    Rgb shade(Vec2 q) const {
        // Nearest point of the centre line gives the position along and across the trunk.
        size_t best = 0;
        float bestD = 1e9f;
        for (size_t i = 0; i < line.size(); ++i)
            if (float d = length(q - line[i]); d < bestD) bestD = d, best = i;
        const size_t j = std::min(best + 1, line.size() - 1), i0 = j - 1;
        const Vec2 axis = normalize(line[j] - line[i0]);
        const float across = std::clamp(dot(q - line[best], Vec2{-axis.y, axis.x}) / half[best], -1.f, 1.f);
        const float along = float(best) * length(line[j] - line[i0]) + dot(q - line[best], axis);
        const float lit = clamp01(0.12f + 0.88f * (0.5f + 0.5f * across));  // +across faces the sun
        Rgb c = mix(rgb8(70, 56, 44), rgb8(182, 160, 124), lit);
        // Old leaf scars: rings, tilted a little where they wrap round the trunk.
        const float ring = std::pow(std::abs(std::sin((along + 2.5f * across * across) * kPi / 6.f)), 8.f);
        c = mix(c, scale(c, 0.55f), ring * (0.55f + 0.45f * valueNoise(along / 6.f, across * 2, 41u)));
        const float bark = fbm(q.x / 2.f, q.y / 5.f, 43u, 3);
        return scale(c, 0.86f + 0.28f * bark);
    }
};

struct FrondSeed {
    float angle, length, droop;
};

void paintFrond(Layer& layer, Vec2 crown, FrondSeed f, float light, Rng& rng) {
    std::vector<Vec2> rachis{crown};
    std::vector<float> half{2.6f};
    Vec2 dir{std::cos(f.angle), std::sin(f.angle)};
    const int steps = 24;
    for (int i = 1; i <= steps; ++i) {
        dir = normalize(dir + Vec2{0, f.droop * i / steps});
        rachis.push_back(rachis.back() + dir * (f.length / steps));
        half.push_back(lerp(2.4f, 0.5f, float(i) / steps));
    }
    const Rgb dark = rgb8(28, 66, 34), mid = rgb8(58, 112, 46), bright = rgb8(150, 178, 70);
    const Rgb base = mix(dark, mid, light);
    for (int i = 3; i <= steps; ++i) {
        const float u = float(i) / steps;
        const Vec2 a = rachis[i];
        const Vec2 tangent = normalize(rachis[i] - rachis[i - 1]);
        const float len = f.length * 0.2f * std::pow(std::sin(kPi * (0.12f + 0.85f * u)), 0.7f) + 3;
        for (int side = -1; side <= 1; side += 2) {
            Vec2 d = normalize(rotate(tangent, side * (1.0f + rng.range(-0.15f, 0.15f))) + Vec2{0, 0.55f});
            const Vec2 mid2 = a + d * (len * 0.5f);
            const Vec2 tip = mid2 + normalize(d + Vec2{0, 0.7f}) * (len * 0.5f);
            const float tone =
                clamp01(light * (0.7f + 0.6f * rng.uniform()) + (side * dir.x > 0 ? 0.1f : -0.1f));
            const Rgb leaf = mix(base, bright, tone * 0.8f);
            fillStroke(
                layer, Stroke{{a, mid2, tip}, {1.5f, 1.2f, 0.35f}},
                [&](Vec2 q) { return mix(leaf, scale(leaf, 0.75f), clamp01(length(q - a) / len)); }, 3);
        }
    }
    fillStroke(layer, Stroke{rachis, half}, mix(rgb8(90, 96, 52), rgb8(170, 168, 96), light), 3);
}

void paintCrown(Layer& layer, Vec2 crown, bool front) {
    // Fronds behind the crown first, then the coconuts, then those in front.
    const FrondSeed back[] = {
        {-2.2f, 120, 0.30f}, {-1.35f, 110, 0.55f}, {-0.55f, 150, 0.40f}, {-2.9f, 130, 0.45f}};
    const FrondSeed fore[] = {{0.05f, 170, 0.45f},  {0.45f, 150, 0.55f}, {2.75f, 140, 0.55f},
                              {-0.2f, 175, 0.30f},  {2.35f, 130, 0.70f}, {1.1f, 120, 0.70f},
                              {-3.05f, 160, 0.35f}, {1.8f, 105, 0.80f},  {-0.95f, 140, 0.45f}};
    Rng rng(front ? 77 : 55);
    if (!front) {
        for (const FrondSeed& f : back)
            paintFrond(layer, crown, f, 0.25f + 0.3f * std::cos(f.angle + 0.6f), rng);
        return;
    }
    for (int i = 0; i < 5; ++i) {
        const Vec2 c = crown + Vec2{-8.f + 4.f * i, 7.f + 3.f * float(i % 2)};
        fillShape(
            layer, bounds(ellipse(c, 5, 5)), 4, [&](Vec2 q) { return length(q - c) < 4.6f; },
            [&](Vec2 q) {
                const float lit = clamp01(0.5f + 0.12f * (q.x - c.x) - 0.1f * (q.y - c.y));
                return mix(rgb8(70, 54, 22), rgb8(150, 124, 50), lit);
            });
    }
    for (const FrondSeed& f : fore)
        paintFrond(layer, crown, f, clamp01(0.45f + 0.45f * std::cos(f.angle + 0.7f)), rng);
}

// Maps a tree-mask pixel to the screen point it covers.
Vec2 maskToScreen(Vec2 p) {
    return {scene::kMaskX + p.x * scene::kMaskW / 40.f, scene::kMaskY + p.y * scene::kMaskH / 164.f};
}

}  // namespace

GroundPictures paintGround() {
    const int w = scene::kWidth, h = scene::kGroundH;
    const std::vector<Cloud> clouds = makeClouds();
    Layer layer(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const float fx = x + 0.5f, fy = y + 0.5f;
            const Rgb c = fy < kHorizon ? skyWithClouds(clouds, fx, fy) : scene::surface(fx, fy, 0);
            layer.at(x, y) = {c.r, c.g, c.b, 1};
        }
    for (const Island& is : kIslands) {
        fillShape(
            layer, Box{is.x0, kHorizon - is.height - 4, is.x1, kHorizon}, 4,
            [&](Vec2 q) { return q.y > islandTop(is, q.x) && q.y < kHorizon; },
            [&](Vec2 q) { return islandColour(is, q.x, q.y); });
        paintIslandPalms(layer, is, mix(rgb8(36, 70, 50), rgb8(178, 198, 208), is.haze));
    }
    const Layer behindPalm = layer;

    const Trunk trunk;
    const Vec2 crown = trunk.p[3];
    paintCrown(layer, crown, false);
    fillShape(
        layer, trunk.stroke.bounds(), 4, [&](Vec2 q) { return trunk.contains(q); },
        [&](Vec2 q) { return trunk.shade(q); });
    paintCrown(layer, crown, true);

    Layer mask(40, 164);
    fillShape(
        mask, Box{0, 0, 40, 164}, 6, [&](Vec2 q) { return trunk.contains(maskToScreen(q)); },
        [&](Vec2 q) { return trunk.shade(maskToScreen(q)); });
    auto backdrop = [&](int x, int y) {
        const Vec2 s = maskToScreen(Vec2{x + 0.5f, y + 0.5f});
        const Rgba b = behindPalm.at(int(s.x), int(s.y));
        return Rgb{b.r, b.g, b.b};
    };
    return {flatten(layer, Rgb{}), threshold(mask, backdrop)};
}

}  // namespace art
