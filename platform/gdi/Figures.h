// Rasterising GDI's figures onto a PixelTarget with a one-pixel pen, by
// GDI's rules for which pixels a figure covers; everything clipped to the
// target. Colours are pixel values in the target's format.
#pragma once

#include "platform/gdi/DeviceContext.h"

#include <cstdint>
#include <span>

namespace platform::gdi {

// GDI's own coordinate space is 28 bits wide; callers refuse figures beyond
// it, and every coordinate passed here lies within +-kCoordinateLimit.
inline constexpr std::int64_t kCoordinateLimit = std::int64_t(1) << 27;

struct FigurePaint {
    std::uint32_t pen = 0;
    std::uint32_t brush = 0;
};

// The box's right and bottom edges are excluded; the outline lies on the
// box's outer pixels and the inside is filled with the brush.
void DrawRectangle(const PixelTarget& target, const RECT& box, const FigurePaint& paint);
// The ellipse inscribed in the box: pixels whose centres lie inside or on it,
// outlined on its border pixels. It always reaches all four sides of the box.
void DrawEllipse(const PixelTarget& target, const RECT& box, const FigurePaint& paint);
// Filled by the alternate (even-odd) rule, a pixel taken when its centre is
// inside (on a left or top edge counts as inside), then the closed path
// outlined with the pen.
void DrawPolygon(const PixelTarget& target, std::span<const POINT> points, const FigurePaint& paint);
// From `from` up to, not including, `to`.
void DrawLine(const PixelTarget& target, POINT from, POINT to, std::uint32_t pen);

}  // namespace platform::gdi
