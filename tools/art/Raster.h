// Float pictures and anti-aliased shape filling for the art generator.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace art {

constexpr float kPi = 3.14159265358979f;

struct Rgb {
    float r = 0, g = 0, b = 0;
};
// Premultiplied colour with coverage.
struct Rgba {
    float r = 0, g = 0, b = 0, a = 0;
};

inline Rgb rgb8(int r, int g, int b) { return {r / 255.f, g / 255.f, b / 255.f}; }
inline float clamp01(float v) { return std::clamp(v, 0.f, 1.f); }
inline float lerp(float a, float b, float t) { return a + (b - a) * t; }
inline Rgb mix(Rgb a, Rgb b, float t) { return {lerp(a.r, b.r, t), lerp(a.g, b.g, t), lerp(a.b, b.b, t)}; }
inline Rgb scale(Rgb c, float k) { return {c.r * k, c.g * k, c.b * k}; }
inline Rgb add(Rgb a, Rgb b) { return {a.r + b.r, a.g + b.g, a.b + b.b}; }
inline float smoothstep(float e0, float e1, float x) {
    const float t = clamp01((x - e0) / (e1 - e0));
    return t * t * (3 - 2 * t);
}
inline Rgb over(Rgb dst, Rgba src) {
    return {src.r + dst.r * (1 - src.a), src.g + dst.g * (1 - src.a), src.b + dst.b * (1 - src.a)};
}
inline Rgba over(Rgba dst, Rgba src) {
    return {src.r + dst.r * (1 - src.a), src.g + dst.g * (1 - src.a), src.b + dst.b * (1 - src.a),
            src.a + dst.a * (1 - src.a)};
}

template <class P>
struct Grid {
    int w = 0, h = 0;
    std::vector<P> px;
    Grid() = default;
    Grid(int width, int height, P fill = {}) : w(width), h(height), px(size_t(width) * height, fill) {}
    P& at(int x, int y) { return px[size_t(y) * w + x]; }
    const P& at(int x, int y) const { return px[size_t(y) * w + x]; }
    bool inside(int x, int y) const { return x >= 0 && y >= 0 && x < w && y < h; }
};
using Image = Grid<Rgb>;
using Layer = Grid<Rgba>;

struct Vec2 {
    float x = 0, y = 0;
};
inline Vec2 operator+(Vec2 a, Vec2 b) { return {a.x + b.x, a.y + b.y}; }
inline Vec2 operator-(Vec2 a, Vec2 b) { return {a.x - b.x, a.y - b.y}; }
inline Vec2 operator*(Vec2 a, float k) { return {a.x * k, a.y * k}; }
inline float dot(Vec2 a, Vec2 b) { return a.x * b.x + a.y * b.y; }
inline float length(Vec2 a) { return std::sqrt(dot(a, a)); }
inline Vec2 normalize(Vec2 a) { return a * (1.f / std::max(length(a), 1e-6f)); }
inline Vec2 perp(Vec2 a) { return {-a.y, a.x}; }
inline Vec2 rotate(Vec2 a, float ang) {
    const float c = std::cos(ang), s = std::sin(ang);
    return {a.x * c - a.y * s, a.x * s + a.y * c};
}

struct Box {
    float x0 = 1e9f, y0 = 1e9f, x1 = -1e9f, y1 = -1e9f;
    void grow(Vec2 p) {
        x0 = std::min(x0, p.x), y0 = std::min(y0, p.y), x1 = std::max(x1, p.x), y1 = std::max(y1, p.y);
    }
    Box padded(float d) const { return {x0 - d, y0 - d, x1 + d, y1 + d}; }
};

using Polygon = std::vector<Vec2>;
bool contains(const Polygon& poly, Vec2 p);
Box bounds(const Polygon& poly);
float segmentDistance(Vec2 p, Vec2 a, Vec2 b);

// Fills the pixels of `box` whose subsamples fall inside the shape, shading each
// pixel with `shade(centre)` and compositing by the covered fraction.
template <class Inside, class Shade>
void fillShape(Layer& layer, Box box, int ss, Inside inside, Shade shade, float opacity = 1.f) {
    const int x0 = std::max(0, int(std::floor(box.x0))), y0 = std::max(0, int(std::floor(box.y0)));
    const int x1 = std::min(layer.w - 1, int(std::ceil(box.x1))),
              y1 = std::min(layer.h - 1, int(std::ceil(box.y1)));
    const float step = 1.f / ss;
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) {
            int hits = 0;
            for (int j = 0; j < ss; ++j)
                for (int i = 0; i < ss; ++i)
                    hits += inside(Vec2{x + (i + 0.5f) * step, y + (j + 0.5f) * step}) ? 1 : 0;
            if (hits == 0) continue;
            const float a = opacity * hits / float(ss * ss);
            const Rgb c = shade(Vec2{x + 0.5f, y + 0.5f});
            layer.at(x, y) = over(layer.at(x, y), Rgba{c.r * a, c.g * a, c.b * a, a});
        }
}

template <class Shade>
void fillPolygon(Layer& layer, const Polygon& poly, Shade shade, int ss = 4, float opacity = 1.f) {
    fillShape(
        layer, bounds(poly), ss, [&](Vec2 p) { return contains(poly, p); }, shade, opacity);
}
inline void fillPolygon(Layer& layer, const Polygon& poly, Rgb colour, int ss = 4, float opacity = 1.f) {
    fillPolygon(
        layer, poly, [&](Vec2) { return colour; }, ss, opacity);
}

// A polyline with a half-width at each point, round at the joins and ends.
struct Stroke {
    std::vector<Vec2> pts;
    std::vector<float> half;
    bool contains(Vec2 p) const;
    Box bounds() const;
};
template <class Shade>
void fillStroke(Layer& layer, const Stroke& s, Shade shade, int ss = 4, float opacity = 1.f) {
    fillShape(
        layer, s.bounds(), ss, [&](Vec2 p) { return s.contains(p); }, shade, opacity);
}
inline void fillStroke(Layer& layer, const Stroke& s, Rgb colour, int ss = 4, float opacity = 1.f) {
    fillStroke(
        layer, s, [&](Vec2) { return colour; }, ss, opacity);
}
Polygon ellipse(Vec2 c, float rx, float ry, float angle = 0, int n = 48);

Image flatten(const Layer& layer, Rgb background);
Layer paste(const Layer& dst, const Layer& src, int ox, int oy);
// Area-weighted resampling to a new size.
Image resampleArea(const Image& src, int w, int h);
Image crop(const Image& src, int x, int y, int w, int h);

}  // namespace art
