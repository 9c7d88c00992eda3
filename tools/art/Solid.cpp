#include "Solid.h"

#include <algorithm>

namespace art {

void drawFaces(Layer& layer, std::vector<Face> faces, const View& view, int ss) {
    std::stable_sort(faces.begin(), faces.end(),
                     [](const Face& a, const Face& b) { return a.depth() < b.depth(); });
    for (const Face& f : faces) {
        Polygon poly;
        for (const Vec3& p : f.pts) poly.push_back(view.project(p));
        fillPolygon(layer, poly, f.colour, ss);
    }
}

}  // namespace art
