// BMP pictures (including 8-bit run-length encoded ones with a palette)
// through SDL's own loader, converted to 0x00RRGGBB.
#include "platform/forms/Bitmap.h"
#include "platform/image/Limits.h"

#include <SDL.h>

#include <climits>
#include <cstdlib>
#include <memory>

namespace platform {
namespace {

struct SurfaceDeleter {
    void operator()(SDL_Surface* surface) const { SDL_FreeSurface(surface); }
};
using SurfacePtr = std::unique_ptr<SDL_Surface, SurfaceDeleter>;

std::uint32_t LittleEndian(std::span<const std::uint8_t> bytes, std::size_t at, int size) {
    std::uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i) value = (value << 8) | bytes[at + i];
    return value;
}

// The size the header claims, checked before the loader allocates for it:
// 16-bit fields in the old core header, signed 32-bit ones (a negative
// height for top-down rows) in every other. Anything else about the header
// is left to the loader to judge.
bool ClaimedSizeAllowed(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < 26) return true;
    std::int64_t width = 0;
    std::int64_t height = 0;
    if (LittleEndian(bytes, 14, 4) == 12) {
        width = LittleEndian(bytes, 18, 2);
        height = LittleEndian(bytes, 20, 2);
    } else {
        width = std::int32_t(LittleEndian(bytes, 18, 4));
        height = std::abs(std::int64_t(std::int32_t(LittleEndian(bytes, 22, 4))));
    }
    return width <= 0 || height <= 0 || image::PictureSizeAllowed(width, height);
}

std::optional<TBitmap> Failure(std::string* error, std::string_view text) {
    if (error != nullptr) *error = text;
    return std::nullopt;
}

}  // namespace

std::optional<TBitmap> DecodeBmp(std::span<const std::uint8_t> bytes, std::string* error) {
    if (bytes.empty() || bytes.size() > std::size_t(INT_MAX))
        return Failure(error, "BMP data is empty or too large");
    if (!ClaimedSizeAllowed(bytes)) return Failure(error, "BMP picture is too large");
    SDL_RWops* stream = SDL_RWFromConstMem(bytes.data(), int(bytes.size()));
    if (stream == nullptr) return Failure(error, SDL_GetError());
    const SurfacePtr loaded(SDL_LoadBMP_RW(stream, 1));
    if (!loaded) return Failure(error, SDL_GetError());
    const SurfacePtr converted(SDL_ConvertSurfaceFormat(loaded.get(), SDL_PIXELFORMAT_XRGB8888, 0));
    if (!converted) return Failure(error, SDL_GetError());
    if (!image::PictureSizeAllowed(converted->w, converted->h))
        return Failure(error, "BMP picture is empty or too large");
    TBitmap picture(converted->w, converted->h);
    const auto* pixels = static_cast<const std::uint8_t*>(converted->pixels);
    for (int y = 0; y < picture.Height(); ++y) {
        const auto* source =
            reinterpret_cast<const std::uint32_t*>(pixels + std::ptrdiff_t(y) * converted->pitch);
        std::span<std::uint32_t> row = picture.Row(y);
        for (int x = 0; x < picture.Width(); ++x) row[x] = source[x] & 0x00FFFFFF;
    }
    return picture;
}

}  // namespace platform
