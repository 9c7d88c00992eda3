// Yacht strip: frame 0 sails left, frames 1 to 27 turn about through the bow-on view,
// frame 27 sails right.
#include "Pictures.h"
#include "Scene.h"
#include "Solid.h"

#include <cmath>

namespace art {

namespace {

constexpr int kFrame = 31, kFrames = 28;
const Rgb kCloth = rgb8(250, 250, 246);

struct Pose {
    float yaw;   // pi: bow to the left; 3pi/2: bow to the viewer; 2pi: bow to the right
    float boom;  // boom angle across the boat, radians
    float luff;  // how much the sails shake
    float flutter;
};

Pose pose(int frame) {
    const float u = float(frame) / (kFrames - 1);
    const float e = u * u * (3 - 2 * u);
    const float luff = std::sin(kPi * u);
    return {kPi + kPi * e, 0.5f * std::cos(kPi * e), luff, float(frame) * 1.9f};
}

// Cloth lets light through, so sails stay bright on their shaded side.
Rgb lit(Rgb base, Vec3 n, bool cloth) {
    const Vec3 light = normalize(Vec3{0.6f, 0.65f, 0.5f});
    if (n.z < 0) n = n * -1;  // both sides of a face are shown lit alike
    const float d = std::max(0.f, dot(n, light));
    return cloth ? scale(base, std::min(1.f, 0.8f + 0.25f * d)) : scale(base, 0.5f + 0.62f * d);
}

void addQuad(std::vector<Face>& faces, Vec3 a, Vec3 b, Vec3 c, Vec3 d, Rgb colour) {
    faces.push_back({{a, b, c, d}, colour});
}

// Hull from stations along its length: half-beam at the deck and at the waterline.
void hull(std::vector<Face>& faces) {
    struct Station {
        float x, deckHalf, waterHalf, sheer;
    };
    const Station st[] = {{-10, 2.6f, 2.0f, 2.3f}, {-6, 3.3f, 2.7f, 2.1f}, {-2, 3.6f, 2.9f, 2.1f},
                          {2, 3.4f, 2.6f, 2.2f},   {6, 2.5f, 1.7f, 2.5f},  {9, 1.1f, 0.5f, 3.0f},
                          {11, 0.05f, 0.05f, 3.4f}};
    const Rgb white = rgb8(240, 242, 244), stripe = rgb8(30, 60, 120), deck = rgb8(196, 170, 128);
    for (size_t i = 0; i + 1 < std::size(st); ++i) {
        const Station a = st[i], b = st[i + 1];
        for (int side = -1; side <= 1; side += 2) {
            const float xa = a.x + 0.4f, xb = b.x + (b.x > 10 ? -0.8f : 0.4f);  // waterline shorter than deck
            const Vec3 da{a.x, a.sheer, side * a.deckHalf}, db{b.x, b.sheer, side * b.deckHalf};
            const Vec3 ma{a.x, a.sheer - 0.7f, side * (a.deckHalf - 0.15f)},
                mb{b.x, b.sheer - 0.7f, side * (b.deckHalf - 0.15f)};
            const Vec3 wa{xa, 0, side * a.waterHalf}, wb{xb, 0, side * b.waterHalf};
            addQuad(faces, da, db, mb, ma, stripe);
            addQuad(faces, ma, mb, wb, wa, white);
        }
        addQuad(faces, {a.x, a.sheer, -a.deckHalf}, {b.x, b.sheer, -b.deckHalf}, {b.x, b.sheer, b.deckHalf},
                {a.x, a.sheer, a.deckHalf}, deck);
    }
    addQuad(faces, {-10, 2.3f, -2.6f}, {-10, 2.3f, 2.6f}, {-9.6f, 0, 2.0f}, {-9.6f, 0, -2.0f},
            white);  // transom
    // Cabin.
    const float c0 = -5, c1 = 1.5f, hw = 1.7f, top = 3.4f, base = 2.1f;
    const Rgb cabin = rgb8(232, 234, 236), glass = rgb8(50, 70, 90);
    addQuad(faces, {c0, top, -hw}, {c1, top, -hw}, {c1, top, hw}, {c0, top, hw}, cabin);
    for (int side = -1; side <= 1; side += 2) {
        addQuad(faces, {c0, base, side * hw}, {c1, base, side * hw}, {c1, top, side * hw},
                {c0, top, side * hw}, cabin);
        addQuad(faces, {c0 + 1, base + 0.5f, side * (hw + 0.01f)}, {c1 - 1, base + 0.5f, side * (hw + 0.01f)},
                {c1 - 1, top - 0.4f, side * (hw + 0.01f)}, {c0 + 1, top - 0.4f, side * (hw + 0.01f)}, glass);
    }
    addQuad(faces, {c1, base, -hw}, {c1, base, hw}, {c1, top, hw}, {c1, top, -hw}, cabin);
    addQuad(faces, {c0, base, -hw}, {c0, base, hw}, {c0, top, hw}, {c0, top, -hw}, cabin);
}

// A sail between luff (mast or stay) and leech, cut into bands that belly out to leeward
// and, while luffing, shake.
void sail(std::vector<Face>& faces, Vec3 tack, Vec3 head, Vec3 clew, float belly, const Pose& p) {
    const int bands = 6;
    const Rgb cloth = kCloth;
    for (int i = 0; i < bands; ++i) {
        const float v0 = float(i) / bands, v1 = float(i + 1) / bands;
        auto edge = [&](float v, float along) {
            const Vec3 luff = tack + (head - tack) * v;
            const Vec3 leech = clew + (head - clew) * v;
            Vec3 q = luff + (leech - luff) * along;
            const float bulge = std::sin(kPi * along) * (1 - v) * belly;
            const float shake = p.luff * 0.9f * std::sin(along * 7 + v * 5 + p.flutter) * along;
            return q + Vec3{0, 0, bulge + shake};
        };
        for (int j = 0; j < 2; ++j) {
            const float a0 = j * 0.5f, a1 = a0 + 0.5f;
            Face f{{edge(v0, a0), edge(v0, a1), edge(v1, a1), edge(v1, a0)}, cloth};
            faces.push_back(f);
        }
    }
}

Keyed paintYachtFrame(int frame) {
    const Pose p = pose(frame);
    std::vector<Face> model;
    hull(model);
    // Mast well forward: a tall mainsail aft of it, a small jib before it, so the heading reads.
    const Vec3 mastFoot{3.5f, 2.2f, 0}, mastHead{3.5f, 23, 0};
    const Vec3 boomEnd = mastFoot + Vec3{-12.5f * std::cos(p.boom), 1.4f, 12.5f * std::sin(p.boom)};
    sail(model, mastFoot + Vec3{0, 1.4f, 0}, mastHead, boomEnd, 1.6f * std::sin(p.boom) * (1 - p.luff), p);
    const Vec3 jibClew = Vec3{1.5f, 3.4f, 3.5f * std::sin(p.boom)};
    sail(model, Vec3{10.6f, 3.0f, 0}, mastHead + Vec3{0, -6.5f, 0}, jibClew,
         0.8f * std::sin(p.boom) * (1 - p.luff), p);

    const float pitch = 0.2f, size = 1.06f;
    auto toView = [&](Vec3 q) { return rotateX(rotateY(q, p.yaw), pitch); };
    std::vector<Face> faces;
    for (const Face& f : model) {
        Face v{{}, f.colour};
        for (const Vec3& q : f.pts) v.pts.push_back(toView(q));
        v.colour = lit(f.colour, v.normal(), f.colour.r == kCloth.r && f.colour.b == kCloth.b);
        faces.push_back(v);
    }
    Layer layer(kFrame, kFrame);
    const View view{{15.5f, 27.2f}, size};
    drawFaces(layer, faces, view, 8);
    const Vec2 m0 = view.project(toView(mastFoot)), m1 = view.project(toView(mastHead));
    const Vec2 b1 = view.project(toView(boomEnd));
    const Vec2 b0 = view.project(toView(mastFoot + Vec3{0, 1.2f, 0}));
    fillStroke(layer, Stroke{{m0, m1}, {0.45f, 0.35f}}, rgb8(120, 110, 96), 8);
    fillStroke(layer, Stroke{{b0, b1}, {0.4f, 0.4f}}, rgb8(120, 110, 96), 8);
    // White water along the hull while under way.
    const float speed = 1 - p.luff;
    if (speed > 0.3f) {
        const Vec2 bow = view.project(toView(Vec3{10.5f, 0, 0})),
                   stern = view.project(toView(Vec3{-10, 0, 0}));
        fillStroke(layer, Stroke{{bow, bow + (stern - bow) * 0.5f, stern}, {1.0f, 0.6f, 0.8f}},
                   rgb8(236, 244, 246), 8, speed * 0.9f);
    }
    const Rgb sea = scene::surface(615, 378, 0);
    return threshold(layer, [&](int, int) { return sea; });
}

}  // namespace

Keyed paintYacht() {
    std::vector<Keyed> frames;
    for (int f = 0; f < kFrames; ++f) frames.push_back(paintYachtFrame(f));
    return stackFrames(frames);
}

}  // namespace art
