// The stone shore in front: boulders at the left and right, sand at the lower left.
#include "Noise.h"
#include "Pictures.h"
#include "Scene.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string>

namespace art {

namespace {

constexpr float kTop = scene::kStoneY;  // screen row of the picture's first row

struct Rock {
    Vec2 c;  // screen centre
    float rx, ry, tilt;
    std::uint32_t seed;
    Rgb tone;
    float wet;  // how much of its foot stands in the surf

    float radius(float angle) const {  // outline, irregular and flattened below
        const float n = fbm(std::cos(angle) * 1.6f + seed, std::sin(angle) * 1.6f, seed, 3) - 0.5f;
        return 1 + 0.34f * n;
    }
    // Position in the rock's own unit disc (length <= 1 inside).
    Vec2 local(Vec2 p) const {
        const Vec2 d = rotate(p - c, -tilt);
        const Vec2 u{d.x / rx, d.y / ry};
        return u * (1 / radius(std::atan2(u.y, u.x)));
    }
    bool contains(Vec2 p) const {
        const Vec2 u = local(p);
        return dot(u, u) < 1 && u.y < 0.62f;
    }
    Box bounds() const { return Box{c.x - rx * 1.5f, c.y - ry * 1.5f, c.x + rx * 1.5f, c.y + ry * 1.5f}; }
};

const std::vector<Rock>& rocks() {
    static const std::vector<Rock> list = [] {
        const Rgb grey = rgb8(128, 120, 108), warm = rgb8(140, 124, 104), cool = rgb8(112, 110, 106);
        std::vector<Rock> r = {
            {{20, 402}, 48, 42, -0.1f, 1, cool, 0},      {{72, 430}, 96, 70, 0.05f, 2, grey, 0},
            {{178, 468}, 72, 56, -0.15f, 3, warm, 0.5f}, {{302, 458}, 24, 12, 0.1f, 4, cool, 1},
            {{340, 479}, 15, 8, -0.2f, 5, grey, 1},      {{100, 520}, 120, 70, 0.0f, 6, grey, 0},
            {{238, 540}, 80, 52, 0.2f, 7, cool, 0.6f},   {{30, 560}, 70, 60, 0.1f, 8, warm, 0},
            {{168, 588}, 64, 34, -0.1f, 9, warm, 0},     {{790, 468}, 62, 96, -0.1f, 10, grey, 0.5f},
            {{736, 532}, 46, 40, 0.2f, 11, warm, 0.8f},  {{786, 590}, 72, 40, 0.0f, 12, cool, 0.4f},
            {{676, 590}, 30, 16, 0.0f, 13, grey, 0.6f},
        };
        std::stable_sort(r.begin(), r.end(),
                         [](const Rock& a, const Rock& b) { return a.c.y + a.ry < b.c.y + b.ry; });
        return r;
    }();
    return list;
}

float sandTop(float x) { return 546 + 0.14f * x + 5 * std::sin(x / 37.f) + 3 * std::sin(x / 11.f); }

// Shadowed rock filling the gaps between the boulders at the lower left.
const Polygon& backing() {
    static const Polygon poly{{0, 380}, {60, 372}, {150, 420}, {214, 468}, {236, 520}, {226, 600}, {0, 600}};
    return poly;
}

Rgb shadeBacking(Vec2 p) {
    const float n = fbm(p.x / 7.f, p.y / 7.f, 15u, 3);
    return scale(rgb8(70, 64, 58), 0.6f + 0.6f * n);
}

bool inAnyRock(Vec2 p) {
    return std::any_of(rocks().begin(), rocks().end(), [&](const Rock& r) { return r.contains(p); });
}

Rgb shadeRock(const Rock& r, Vec2 p) {
    const Vec2 u = rotate(r.local(p), r.tilt);
    // Dome normal, roughened by two scales of noise for facets and grain.
    auto bump = [&](Vec2 q) {
        return fbm(q.x / 30.f, q.y / 24.f, r.seed + 50, 3) * 2.2f +
               fbm(q.x / 5.f, q.y / 5.f, r.seed + 60, 2) * 0.12f;
    };
    const float gx = (bump(p + Vec2{1, 0}) - bump(p - Vec2{1, 0})) * 4;
    const float gy = (bump(p + Vec2{0, 1}) - bump(p - Vec2{0, 1})) * 4;
    const float nz = std::sqrt(std::max(0.f, 1 - dot(u, u))) + 0.25f;
    const float len = std::sqrt(u.x * u.x + u.y * u.y + nz * nz + gx * gx + gy * gy);
    const float nx = (u.x + gx) / len, ny = (u.y + gy) / len, n_z = nz / len;
    const scene::Light l;
    const float diffuse = std::max(0.f, nx * l.x + ny * l.y + n_z * l.z);
    const float sky = 0.5f + 0.5f * -ny;
    Rgb base = scale(r.tone, 0.85f + 0.3f * fbm(p.x / 6.f, p.y / 6.f, r.seed + 70, 3));
    const float lichen =
        smoothstep(0.68f, 0.74f, fbm(p.x / 9.f, p.y / 9.f, r.seed + 80, 3)) * smoothstep(0.3f, -0.4f, u.y);
    base = mix(base, rgb8(176, 160, 112), 0.6f * lichen);
    // Foot of the rock: darker, and wet with weed where the surf reaches it.
    const float foot = smoothstep(0.1f, 0.62f, u.y);
    base = mix(base, mix(rgb8(70, 66, 60), rgb8(52, 62, 48), r.wet), foot * (0.35f + 0.5f * r.wet));
    Rgb c = add(scale(base, 0.28f + 0.55f * sky * 0.6f), scale(base, 1.05f * diffuse));
    const float rim = smoothstep(0.7f, 1.0f, length(u));  // occlusion at the outline
    c = scale(c, 1 - 0.25f * rim * smoothstep(-0.2f, 0.4f, u.y - u.x));
    const float glint =
        r.wet * foot * smoothstep(0.86f, 0.92f, diffuse + 0.3f * fbm(p.x / 2.f, p.y / 2.f, r.seed, 2));
    return mix(c, rgb8(236, 238, 232), glint);
}

Rgb shadeSand(Vec2 p) {
    const float grain =
        valueNoise(p.x * 0.9f, p.y * 1.3f, 5u) * 0.5f + fbm(p.x / 23.f, p.y / 9.f, 6u, 3) * 0.5f;
    Rgb c = mix(rgb8(214, 192, 148), rgb8(236, 218, 176), grain);
    const float lip = smoothstep(sandTop(p.x) + 5, sandTop(p.x), p.y);  // the dune edge catches the sun
    c = mix(c, rgb8(246, 232, 196), 0.5f * lip);
    float shadow = 0;  // rocks cast their shadows down and to the left
    for (float k = 3; k <= 24; k += 3)
        if (inAnyRock(p + Vec2{k * 0.75f, -k * 0.6f})) shadow = std::max(shadow, 1 - k / 30);
    return scale(c, 1 - 0.42f * shadow);
}

}  // namespace

Keyed paintStone() {
    Layer layer(scene::kWidth, scene::kStoneH);
    auto toScreen = [](Vec2 q) { return Vec2{q.x, q.y + kTop}; };
    fillShape(
        layer, Box{0, 0, 240, float(scene::kStoneH)}, 4,
        [&](Vec2 q) { return contains(backing(), toScreen(q)); },
        [&](Vec2 q) { return shadeBacking(toScreen(q)); });
    fillShape(
        layer, Box{0, sandTop(0) - kTop - 8, 420, float(scene::kStoneH)}, 4,
        [&](Vec2 q) {
            const Vec2 s = toScreen(q);
            return s.y > sandTop(s.x);
        },
        [&](Vec2 q) { return shadeSand(toScreen(q)); });
    for (const Rock& r : rocks()) {
        if (r.wet >= 1) {  // rocks standing in the sea: a rim of foam where the water meets them
            const Vec2 foot{r.c.x, r.c.y + r.ry * 0.55f - kTop};
            fillPolygon(layer, ellipse(foot, r.rx * 1.12f, 2.6f), [&](Vec2 q) {
                return mix(rgb8(240, 246, 246), rgb8(150, 200, 204), clamp01((q.y - foot.y) / 3));
            });
        }
        Box b = r.bounds();
        b.y0 -= kTop, b.y1 -= kTop;
        fillShape(
            layer, b, 4, [&](Vec2 q) { return r.contains(toScreen(q)); },
            [&](Vec2 q) { return shadeRock(r, toScreen(q)); });
    }
    Keyed stone = threshold(layer, [](int x, int y) { return scene::surface(x + 0.5f, y + kTop + 0.5f, 0); });
    // Nothing else is drawn at the lower left, so the stone must cover it.
    for (int y = scene::kLowY + 1 - int(kTop); y < scene::kStoneH; ++y)
        for (int x = 0; x < scene::kLowX; ++x)
            if (!stone.opaque[size_t(y) * scene::kWidth + x])
                throw std::runtime_error("hole in the stone shore at (" + std::to_string(x) + ", " +
                                         std::to_string(y + int(kTop)) + ")");
    return stone;
}

}  // namespace art
