#include "platform/gdi/Figures.h"

#include "platform/gdi/PixelAccess.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace platform::gdi {
namespace {

__extension__ using Int128 = __int128;

struct Box {
    std::int64_t left, top, right, bottom;
};

Box Normalized(const RECT& rect) {
    return {std::min<std::int64_t>(rect.left, rect.right), std::min<std::int64_t>(rect.top, rect.bottom),
            std::max<std::int64_t>(rect.left, rect.right), std::max<std::int64_t>(rect.top, rect.bottom)};
}

std::int64_t CeilDiv(std::int64_t num, std::int64_t den) {  // den > 0
    const std::int64_t q = num / den;
    return (num % den != 0 && num > 0) ? q + 1 : q;
}

// Inclusive columns of one row of a figure; empty when lo > hi.
struct RowSpan {
    std::int64_t lo = 1;
    std::int64_t hi = 0;
};

// The rows of an ellipse. Offsets are doubled so that pixel centres, which
// lie half-way between box coordinates, stay integers: a pixel (x, y) has the
// offset X = 2x + 1 - (left + right) from the centre, and is inside when
// X²H² + Y²W² <= W²H² for the box's width W and height H.
class EllipseRows {
public:
    explicit EllipseRows(const Box& box) : box_(box), w_(box.right - box.left), h_(box.bottom - box.top) {}

    RowSpan Row(std::int64_t y) const {
        if (y < box_.top || y >= box_.bottom) return {};
        const std::int64_t dy = 2 * y + 1 - (box_.top + box_.bottom);
        const std::int64_t reach = Reach(dy);
        const std::int64_t centre2 = box_.left + box_.right - 1;
        return {(centre2 - reach) / 2, (centre2 + reach) / 2};
    }

private:
    // The largest doubled offset X on the row at doubled offset `dy`. Thin
    // ellipses would leave rows or the box's sides without a pixel, so the
    // middle rows always span the box and every row keeps its middle pixels,
    // as GDI's figures always touch their box.
    std::int64_t Reach(std::int64_t dy) const {
        if (dy >= -1 && dy <= 1) return w_ - 1;
        const Int128 h2 = Int128(h_) * h_;
        const Int128 limit = Int128(w_) * w_ * (h2 - Int128(dy) * dy);
        const auto fits = [&](std::int64_t x) { return Int128(x) * x * h2 <= limit; };
        const double ratio = double(dy) / double(h_);
        auto x = std::int64_t(double(w_) * std::sqrt(std::max(0.0, 1.0 - ratio * ratio)));
        while (x > 0 && !fits(x)) --x;
        while (fits(x + 1)) ++x;
        // Offsets have the parity of W + 1.
        if ((x - w_ - 1) % 2 != 0) --x;
        const std::int64_t smallest = (w_ % 2 == 0) ? 1 : 0;
        return std::max(x, smallest);
    }

    Box box_;
    std::int64_t w_;
    std::int64_t h_;
};

}  // namespace

void DrawRectangle(const PixelTarget& target, const RECT& rect, const FigurePaint& paint) {
    const Box box = Normalized(rect);
    if (box.right == box.left || box.bottom == box.top) return;
    const std::int64_t first = std::max<std::int64_t>(box.top, 0);
    const std::int64_t last = std::min<std::int64_t>(box.bottom, target.height);
    for (std::int64_t y = first; y < last; ++y) {
        if (y == box.top || y == box.bottom - 1) {
            FillSpan(target, y, box.left, box.right, paint.pen);
            continue;
        }
        FillSpan(target, y, box.left, box.left + 1, paint.pen);
        FillSpan(target, y, box.left + 1, box.right - 1, paint.brush);
        if (box.right - 1 > box.left) FillSpan(target, y, box.right - 1, box.right, paint.pen);
    }
}

void DrawEllipse(const PixelTarget& target, const RECT& rect, const FigurePaint& paint) {
    const Box box = Normalized(rect);
    if (box.right == box.left || box.bottom == box.top) return;
    const EllipseRows rows(box);
    const std::int64_t first = std::max<std::int64_t>(box.top, 0);
    const std::int64_t last = std::min<std::int64_t>(box.bottom, target.height);
    if (first >= last) return;
    RowSpan above = rows.Row(first - 1);
    RowSpan row = rows.Row(first);
    for (std::int64_t y = first; y < last; ++y) {
        const RowSpan below = rows.Row(y + 1);
        // Outline: the pixels with a side neighbour outside the figure.
        const std::int64_t innerLo = std::max({row.lo + 1, above.lo, below.lo});
        const std::int64_t innerHi = std::min({row.hi - 1, above.hi, below.hi});
        if (innerLo > innerHi) {
            FillSpan(target, y, row.lo, row.hi + 1, paint.pen);
        } else {
            FillSpan(target, y, row.lo, innerLo, paint.pen);
            FillSpan(target, y, innerLo, innerHi + 1, paint.brush);
            FillSpan(target, y, innerHi + 1, row.hi + 1, paint.pen);
        }
        above = row;
        row = below;
    }
}

void DrawPolygon(const PixelTarget& target, std::span<const POINT> points, const FigurePaint& paint) {
    if (points.size() < 2) return;
    const auto [lowest, highest] = std::minmax_element(
        points.begin(), points.end(), [](const POINT& a, const POINT& b) { return a.y < b.y; });
    const std::int64_t first = std::max<std::int64_t>(lowest->y, 0);
    const std::int64_t last = std::min<std::int64_t>(highest->y, target.height);
    std::vector<std::int64_t> crossings;
    crossings.reserve(points.size());
    for (std::int64_t y = first; y < last; ++y) {
        crossings.clear();
        for (std::size_t i = 0; i < points.size(); ++i) {
            const POINT& a = points[i];
            const POINT& b = points[(i + 1) % points.size()];
            // Rows from an edge's top up to, not including, its bottom.
            if (a.y == b.y || y < std::min(a.y, b.y) || y >= std::max(a.y, b.y)) continue;
            std::int64_t num = std::int64_t(a.x) * (b.y - a.y) + (y - a.y) * (std::int64_t(b.x) - a.x);
            std::int64_t den = std::int64_t(b.y) - a.y;
            if (den < 0) {
                num = -num;
                den = -den;
            }
            // The first pixel centre at or right of the crossing.
            crossings.push_back(CeilDiv(num, den));
        }
        std::sort(crossings.begin(), crossings.end());
        for (std::size_t k = 0; k + 1 < crossings.size(); k += 2)
            FillSpan(target, y, crossings[k], crossings[k + 1], paint.brush);
    }
    for (std::size_t i = 0; i < points.size(); ++i)
        DrawLine(target, points[i], points[(i + 1) % points.size()], paint.pen);
}

void DrawLine(const PixelTarget& target, POINT from, POINT to, std::uint32_t pen) {
    const std::int64_t dx = std::int64_t(to.x) - from.x;
    const std::int64_t dy = std::int64_t(to.y) - from.y;
    const bool xMajor = std::abs(dx) >= std::abs(dy);
    const std::int64_t steps = xMajor ? std::abs(dx) : std::abs(dy);
    if (steps == 0) return;
    const std::int64_t major0 = xMajor ? from.x : from.y;
    const std::int64_t minor0 = xMajor ? from.y : from.x;
    const std::int64_t majorStep = (xMajor ? dx : dy) > 0 ? 1 : -1;
    const std::int64_t minorDelta = xMajor ? dy : dx;
    const std::int64_t minorStep = minorDelta >= 0 ? 1 : -1;
    const std::int64_t minorSpan = std::abs(minorDelta);
    const std::int64_t majorLimit = xMajor ? target.width : target.height;
    const std::int64_t minorLimit = xMajor ? target.height : target.width;

    // Only the steps whose major coordinate lies on the target are walked,
    // so a line of any length costs at most one row or column of pixels.
    std::int64_t begin = 0;
    std::int64_t end = steps;
    if (majorStep > 0) {
        begin = std::max<std::int64_t>(begin, -major0);
        end = std::min(end, majorLimit - major0);
    } else {
        begin = std::max(begin, major0 - majorLimit + 1);
        end = std::min(end, major0 + 1);
    }
    for (std::int64_t i = begin; i < end; ++i) {
        // The pixel nearest the line on this step, ties away from the start.
        const std::int64_t minor = minor0 + minorStep * ((2 * i * minorSpan + steps) / (2 * steps));
        if (minor < 0 || minor >= minorLimit) continue;
        const std::int64_t major = major0 + majorStep * i;
        if (xMajor)
            WritePixel(target, int(major), int(minor), pen);
        else
            WritePixel(target, int(minor), int(major), pen);
    }
}

}  // namespace platform::gdi
