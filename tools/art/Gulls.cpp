// Seagull strips: five wing-beat cycles of eight poses, one per speed class.
#include "Pictures.h"

#include <cmath>

namespace art {

namespace {

constexpr int kFrameW = 30, kFrameH = 11, kPoses = 8;

struct Palette {
    Rgb body, bodyShade, wing, wingEdge, tip, beak, backdrop;
};

Palette palette(GullDistance d) {
    const Palette near{rgb8(252, 252, 250), rgb8(196, 202, 212), rgb8(156, 166, 180), rgb8(222, 226, 232),
                       rgb8(28, 30, 36),    rgb8(236, 184, 56),  rgb8(150, 186, 208)};
    if (d == GullDistance::Near) return near;
    // Seen through the haze: paler, with less contrast.
    const Rgb haze = rgb8(178, 202, 216);
    auto fade = [&](Rgb c, float k) { return mix(c, haze, k); };
    return {
        fade(near.body, 0.3f), fade(near.bodyShade, 0.35f), fade(near.wing, 0.4f), fade(near.wingEdge, 0.35f),
        fade(near.tip, 0.5f),  fade(near.beak, 0.55f),      near.backdrop};
}

// Wing angles of one pose, radians above level: the arm and the hand beyond the wrist.
// Pose 1 glides with the wings spread level, the gull's shallow "M".
struct Pose {
    float arm, hand;
};
Pose pose(int p, float beat) {
    const float s = std::sin(2 * kPi * float(p - 1) / kPoses + kPi);  // 0 at the glide, down first
    const float lag = std::sin(2 * kPi * float(p - 1) / kPoses + kPi - 0.9f) - std::sin(kPi - 0.9f);
    return {0.08f + beat * s * (s < 0 ? 0.6f : 1.0f), -0.16f + 0.45f * beat * lag};
}

// A gull flying to the left, seen from the side and a little from below, so both wings
// spread out from the body: the far wing a little shorter.
Keyed paintGull(const Palette& pal, Pose ps, float size) {
    Layer layer(kFrameW, kFrameH);
    const Vec2 shoulder{15.8f, 5.4f};
    for (int side = 1; side >= -1; side -= 2) {  // far wing (to the right) first
        const float reach = size * (side > 0 ? 0.86f : 1.0f);
        const Vec2 out{float(side), 0};
        auto along = [&](float angle, float len) {
            return Vec2{out.x * std::cos(angle) * len, -std::sin(angle) * len};
        };
        const Vec2 root = shoulder + Vec2{side * 0.8f, 0};
        const Vec2 wrist = root + along(ps.arm, 5.4f * reach);
        const Vec2 tip = wrist + along(ps.arm + ps.hand, 7.2f * reach);
        const Vec2 mid = wrist + (tip - wrist) * 0.55f;
        const float w = size;
        Stroke arm{{root, wrist}, {1.5f * w, 1.2f * w}};
        Stroke hand{{wrist, mid}, {1.2f * w, 0.85f * w}};
        Stroke tipStroke{{mid, tip}, {0.85f * w, 0.4f * w}};
        auto wingShade = [&](Vec2 q) {  // lighter along the leading edge
            const float lead = clamp01(
                0.5f - (q.y - (root.y + (q.x - root.x) * (wrist.y - root.y) / (wrist.x - root.x + 1e-3f))));
            return mix(pal.wing, pal.wingEdge, 0.5f * lead);
        };
        fillStroke(layer, arm, wingShade, 8);
        fillStroke(layer, hand, wingShade, 8);
        fillStroke(layer, tipStroke, pal.tip, 8);
    }
    // Body, head to the left, tail to the right.
    const Vec2 c = shoulder + Vec2{0.4f, 0.6f};
    fillShape(
        layer, Box{c.x - 6, c.y - 3, c.x + 7, c.y + 3}, 8,
        [&](Vec2 q) {
            const Vec2 d = q - c;
            const bool trunk = std::pow(d.x / (4.6f * size), 2.f) + std::pow(d.y / (1.55f * size), 2.f) < 1;
            const bool tail =
                d.x > 2 && d.x < 6.3f * size && std::abs(d.y + 0.2f) < 0.35f + 0.25f * (d.x - 2);
            const bool head = length(d - Vec2{-4.4f * size, -0.9f * size}) < 1.45f * size;
            return trunk || (tail && d.x < 6.3f * size) || head;
        },
        [&](Vec2 q) { return mix(pal.body, pal.bodyShade, smoothstep(-0.6f, 1.6f, q.y - c.y)); });
    const Vec2 beak = c + Vec2{-6.4f * size, -0.7f * size};
    fillStroke(layer, Stroke{{beak + Vec2{0.9f, 0}, beak}, {0.5f, 0.3f}}, pal.beak, 8);
    return threshold(layer, [&](int, int) { return pal.backdrop; });
}

}  // namespace

Keyed paintGulls(GullDistance distance) {
    const Palette pal = palette(distance);
    const float size = distance == GullDistance::Near ? 1.0f : 0.8f;
    // Wing-beat strength for speed classes 1 (fast, to the left) to 3 (slow); classes 4
    // and 5 fly to the right and mirror classes 2 and 1.
    const float beats[] = {0.72f, 0.62f, 0.52f};
    std::vector<Keyed> frames;
    for (int group = 0; group < 5; ++group) {
        const int source = group < 3 ? group : 4 - group;
        for (int p = 0; p < kPoses; ++p) {
            Keyed f = paintGull(pal, pose(p, beats[source]), size);
            frames.push_back(group < 3 ? f : mirrored(f));
        }
    }
    return stackFrames(frames);
}

}  // namespace art
