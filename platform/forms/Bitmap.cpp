// The framework's bitmap as a value: its pixels and the parts cut from it.
#include "platform/forms/Bitmap.h"

#include <algorithm>

TBitmap::TBitmap(int width, int height) {
    if (width <= 0 || height <= 0) return;
    width_ = width;
    height_ = height;
    pixels_.assign(std::size_t(width) * std::size_t(height), 0);
}

std::span<const std::uint32_t> TBitmap::Row(int y) const {
    return {pixels_.data() + std::size_t(y) * width_, std::size_t(width_)};
}

std::span<std::uint32_t> TBitmap::Row(int y) {
    return {pixels_.data() + std::size_t(y) * width_, std::size_t(width_)};
}

TBitmap TBitmap::Copy(const RECT& source) const {
    const int left = std::clamp<LONG>(source.left, 0, width_);
    const int top = std::clamp<LONG>(source.top, 0, height_);
    const int right = std::clamp<LONG>(source.right, 0, width_);
    const int bottom = std::clamp<LONG>(source.bottom, 0, height_);
    if (right <= left || bottom <= top) return {};
    TBitmap part(right - left, bottom - top);
    for (int y = top; y < bottom; ++y) {
        const auto row = Row(y).subspan(std::size_t(left), std::size_t(right - left));
        std::copy(row.begin(), row.end(), part.Row(y - top).begin());
    }
    return part;
}
