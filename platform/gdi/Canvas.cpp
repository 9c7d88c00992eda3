// Canvas drawing of the framework's bitmap into device contexts.
#include "platform/forms/Bitmap.h"
#include "platform/gdi/Context.h"
#include "platform/gdi/PixelAccess.h"
#include "platform/image/Limits.h"

#include <algorithm>
#include <cstring>

namespace {

using platform::PixelTarget;

void ConvertRow(const std::uint32_t* source, const int* columns, int count, std::uint8_t* out,
                int bitsPerPixel) {
    switch (bitsPerPixel) {
    case 16:
        for (int i = 0; i < count; ++i, out += 2) {
            const std::uint16_t v = platform::gdi::ToRgb565(source[columns[i]]);
            std::memcpy(out, &v, 2);
        }
        break;
    case 24:
        for (int i = 0; i < count; ++i, out += 3) {
            const std::uint32_t v = source[columns[i]];
            out[0] = std::uint8_t(v);
            out[1] = std::uint8_t(v >> 8);
            out[2] = std::uint8_t(v >> 16);
        }
        break;
    default:
        for (int i = 0; i < count; ++i, out += 4) {
            const std::uint32_t v = source[columns[i]] & 0x00FFFFFF;
            std::memcpy(out, &v, 4);
        }
        break;
    }
}

// Draws `picture` scaled into the w x h rectangle at (left, top) by nearest
// pixel: destination pixel (dx, dy) takes source (dx*srcW/w, dy*srcH/h).
// Only the part on the target is visited; the column map is built once and
// a destination row repeating the previous source row is copied.
void DrawScaled(const PixelTarget& target, std::int64_t left, std::int64_t top, std::int64_t w,
                std::int64_t h, const TBitmap& picture) {
    if (w <= 0 || h <= 0 || picture.Empty() || !platform::gdi::IsDrawable(target)) return;
    const std::int64_t x0 = std::max<std::int64_t>(left, 0);
    const std::int64_t x1 = std::min<std::int64_t>(left + w, target.width);
    const std::int64_t y0 = std::max<std::int64_t>(top, 0);
    const std::int64_t y1 = std::min<std::int64_t>(top + h, target.height);
    if (x0 >= x1 || y0 >= y1) return;
    const int count = int(x1 - x0);
    std::vector<int> columns(count);
    for (int i = 0; i < count; ++i) columns[i] = int(((x0 + i - left) * picture.Width()) / w);
    const std::size_t rowBytes = std::size_t(count) * (target.bitsPerPixel / 8);
    std::int64_t previousSource = -1;
    const std::uint8_t* previousRow = nullptr;
    for (std::int64_t y = y0; y < y1; ++y) {
        const std::int64_t sourceRow = ((y - top) * picture.Height()) / h;
        std::uint8_t* out = platform::gdi::PixelAddress(target, int(x0), int(y));
        if (sourceRow == previousSource)
            std::memcpy(out, previousRow, rowBytes);
        else
            ConvertRow(picture.Row(int(sourceRow)).data(), columns.data(), count, out, target.bitsPerPixel);
        previousSource = sourceRow;
        previousRow = out;
    }
}

// A picture as a 32 bpp drawing target.
PixelTarget TargetOf(TBitmap& picture) {
    return {reinterpret_cast<std::uint8_t*>(picture.Row(0).data()), picture.Width(), picture.Height(),
            picture.Width() * 4, 32};
}

}  // namespace

void CanvasDraw(HDC dc, int x, int y, const TBitmap& bitmap) {
    if (dc == nullptr || bitmap.Empty()) return;
    if (dc->kind == DeviceContext::Kind::Window) {
        dc->paints.push_back({x, y, bitmap});
        return;
    }
    DrawScaled(dc->target, x, y, bitmap.Width(), bitmap.Height(), bitmap);
}

void CanvasStretchDraw(HDC dc, const RECT& dest, const TBitmap& bitmap) {
    if (dc == nullptr || bitmap.Empty()) return;
    const std::int64_t w = std::int64_t(dest.right) - dest.left;
    const std::int64_t h = std::int64_t(dest.bottom) - dest.top;
    if (dc->kind == DeviceContext::Kind::Window) {
        if (!platform::image::PictureSizeAllowed(w, h)) return;
        TBitmap scaled{int(w), int(h)};
        DrawScaled(TargetOf(scaled), 0, 0, w, h, bitmap);
        dc->paints.push_back({dest.left, dest.top, std::move(scaled)});
        return;
    }
    DrawScaled(dc->target, dest.left, dest.top, w, h, bitmap);
}
