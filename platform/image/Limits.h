// The largest picture the decoders accept: far above the program's own art,
// small enough that a forged header cannot ask for gigabytes.
#pragma once

#include <cstdint>

namespace platform::image {

inline constexpr std::int64_t kMaxPictureSide = 16384;
inline constexpr std::int64_t kMaxPicturePixels = std::int64_t(1) << 24;

inline bool PictureSizeAllowed(std::int64_t width, std::int64_t height) {
    return width > 0 && height > 0 && width <= kMaxPictureSide && height <= kMaxPictureSide &&
           width * height <= kMaxPicturePixels;
}

}  // namespace platform::image
