// Just enough 3-D for small figures: turn a model, look at it from the side, fill its faces.
#pragma once

#include "Raster.h"

#include <cmath>
#include <vector>

namespace art {

struct Vec3 {
    float x = 0, y = 0, z = 0;  // x right, y up, z toward the viewer
};
inline Vec3 operator+(Vec3 a, Vec3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline Vec3 operator-(Vec3 a, Vec3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline Vec3 operator*(Vec3 a, float k) { return {a.x * k, a.y * k, a.z * k}; }
inline float dot(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline Vec3 cross(Vec3 a, Vec3 b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
inline Vec3 normalize(Vec3 a) { return a * (1.f / std::max(std::sqrt(dot(a, a)), 1e-6f)); }
inline Vec3 rotateX(Vec3 p, float a) {
    const float c = std::cos(a), s = std::sin(a);
    return {p.x, p.y * c - p.z * s, p.y * s + p.z * c};
}
inline Vec3 rotateY(Vec3 p, float a) {
    const float c = std::cos(a), s = std::sin(a);
    return {p.x * c + p.z * s, p.y, -p.x * s + p.z * c};
}

// Orthographic view: `centre` is where the model origin lands, `scale` pixels per unit.
struct View {
    Vec2 centre;
    float scale;
    Vec2 project(Vec3 p) const { return {centre.x + p.x * scale, centre.y - p.y * scale}; }
};

// A flat face in view space; faces are drawn far to near.
struct Face {
    std::vector<Vec3> pts;
    Rgb colour;
    float depth() const {
        float z = 0;
        for (const Vec3& p : pts) z += p.z;
        return z / float(pts.size());
    }
    Vec3 normal() const { return normalize(cross(pts[1] - pts[0], pts[2] - pts[0])); }
};

void drawFaces(Layer& layer, std::vector<Face> faces, const View& view, int ss = 8);

}  // namespace art
