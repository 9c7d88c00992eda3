// The framework's bitmap: a device-independent picture held as a value, and
// the canvas operations that draw it into a device context.
#pragma once

#include "platform/winapi/WinTypes.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

class TBitmap {
public:
    TBitmap() = default;
    // A black picture.
    TBitmap(int width, int height);

    int Width() const { return width_; }
    int Height() const { return height_; }
    bool Empty() const { return width_ == 0 || height_ == 0; }

    // Pixels are 0x00RRGGBB, rows top to bottom.
    std::span<const std::uint32_t> Row(int y) const;
    std::span<std::uint32_t> Row(int y);
    std::uint32_t At(int x, int y) const { return pixels_[std::size_t(y) * width_ + x]; }
    void Set(int x, int y, std::uint32_t rgb) { pixels_[std::size_t(y) * width_ + x] = rgb; }

    // The part of this picture inside `source` (clipped to the picture).
    TBitmap Copy(const RECT& source) const;

    friend bool operator==(const TBitmap&, const TBitmap&) = default;

private:
    int width_ = 0;
    int height_ = 0;
    std::vector<std::uint32_t> pixels_;
};

// Draws the bitmap unscaled with its top-left corner at (x, y).
void CanvasDraw(HDC dc, int x, int y, const TBitmap& bitmap);
// Draws the bitmap scaled into `dest` by nearest pixel (rows and columns
// dropped or repeated).
void CanvasStretchDraw(HDC dc, const RECT& dest, const TBitmap& bitmap);

// Pictures in and out; the codecs are in platform/image, built with the
// libraries they need.
namespace platform {

// Decoders for outside bytes: nullopt with `error` filled on anything malformed.
std::optional<TBitmap> DecodeJpeg(std::span<const std::uint8_t> bytes, std::string* error = nullptr);
std::optional<TBitmap> DecodeBmp(std::span<const std::uint8_t> bytes, std::string* error = nullptr);

// An embedded bitmap resource ("PREV_BITMAP", "stone", ...), decoded.
std::optional<TBitmap> LoadBitmapResource(std::string_view name);

#ifndef _WIN32
// Writes the picture as an 8-bit RGB PNG; false with `error` filled on failure.
bool WritePng(const TBitmap& bitmap, const std::filesystem::path& file, std::string* error = nullptr);
#endif

}  // namespace platform
