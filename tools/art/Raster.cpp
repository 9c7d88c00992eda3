#include "Raster.h"

namespace art {

bool contains(const Polygon& poly, Vec2 p) {
    int winding = 0;
    for (size_t i = 0, n = poly.size(); i < n; ++i) {
        const Vec2 a = poly[i], b = poly[(i + 1) % n];
        const float side = (b.x - a.x) * (p.y - a.y) - (p.x - a.x) * (b.y - a.y);
        if (a.y <= p.y) {
            if (b.y > p.y && side > 0) ++winding;
        } else if (b.y <= p.y && side < 0) {
            --winding;
        }
    }
    return winding != 0;
}

Box bounds(const Polygon& poly) {
    Box b;
    for (Vec2 p : poly) b.grow(p);
    return b;
}

float segmentDistance(Vec2 p, Vec2 a, Vec2 b) {
    const Vec2 ab = b - a;
    const float t = std::clamp(dot(p - a, ab) / std::max(dot(ab, ab), 1e-9f), 0.f, 1.f);
    return length(p - (a + ab * t));
}

bool Stroke::contains(Vec2 p) const {
    for (size_t i = 0; i + 1 < pts.size(); ++i) {
        const Vec2 a = pts[i], ab = pts[i + 1] - a;
        const float t = std::clamp(dot(p - a, ab) / std::max(dot(ab, ab), 1e-9f), 0.f, 1.f);
        if (length(p - (a + ab * t)) <= lerp(half[i], half[i + 1], t)) return true;
    }
    return pts.size() == 1 && length(p - pts[0]) <= half[0];
}

Box Stroke::bounds() const {
    Box b;
    for (size_t i = 0; i < pts.size(); ++i) {
        b.grow(pts[i] - Vec2{half[i], half[i]});
        b.grow(pts[i] + Vec2{half[i], half[i]});
    }
    return b;
}

Polygon ellipse(Vec2 c, float rx, float ry, float angle, int n) {
    Polygon poly;
    for (int i = 0; i < n; ++i) {
        const float t = 2 * kPi * i / n;
        poly.push_back(c + rotate(Vec2{rx * std::cos(t), ry * std::sin(t)}, angle));
    }
    return poly;
}

Image flatten(const Layer& layer, Rgb background) {
    Image out(layer.w, layer.h);
    for (size_t i = 0; i < layer.px.size(); ++i) out.px[i] = over(background, layer.px[i]);
    return out;
}

Layer paste(const Layer& dst, const Layer& src, int ox, int oy) {
    Layer out = dst;
    for (int y = 0; y < src.h; ++y)
        for (int x = 0; x < src.w; ++x)
            if (out.inside(x + ox, y + oy))
                out.at(x + ox, y + oy) = over(out.at(x + ox, y + oy), src.at(x, y));
    return out;
}

Image resampleArea(const Image& src, int w, int h) {
    Image out(w, h);
    const double sx = double(src.w) / w, sy = double(src.h) / h;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const double fx0 = x * sx, fx1 = (x + 1) * sx, fy0 = y * sy, fy1 = (y + 1) * sy;
            double r = 0, g = 0, b = 0, total = 0;
            for (int j = int(fy0); j < std::min(src.h, int(std::ceil(fy1))); ++j)
                for (int i = int(fx0); i < std::min(src.w, int(std::ceil(fx1))); ++i) {
                    const double wgt = (std::min<double>(i + 1, fx1) - std::max<double>(i, fx0)) *
                                       (std::min<double>(j + 1, fy1) - std::max<double>(j, fy0));
                    const Rgb c = src.at(i, j);
                    r += c.r * wgt, g += c.g * wgt, b += c.b * wgt, total += wgt;
                }
            out.at(x, y) = {float(r / total), float(g / total), float(b / total)};
        }
    return out;
}

Image crop(const Image& src, int x, int y, int w, int h) {
    Image out(w, h);
    for (int j = 0; j < h; ++j)
        for (int i = 0; i < w; ++i) out.at(i, j) = src.at(x + i, y + j);
    return out;
}

}  // namespace art
