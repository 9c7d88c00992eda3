// What the screen shows of a surface: every channel passed through the gamma
// ramp (output level = entry >> 8) into 0x00RRGGBB pixels. Back ends call
// this once per presented frame, so the ramps the scene sets take the quick
// ways: an identity ramp copies, a level per channel multiplies in SIMD, and
// only another ramp looks every channel up in its tables.
#pragma once

#include "platform/ScreenRamp.h"
#include "platform/forms/Bitmap.h"
#include "platform/pixels/PixelRows.h"
#include "platform/seam/Backend.h"
#include "platform/winapi/DirectDraw.h"

#include <array>
#include <cstdint>
#include <optional>

namespace platform {

// The level per channel of a ramp that is linear: every entry's output level
// is (i * step) >> 8 with one step per channel, from 0 to 257.
std::optional<rows::Levels> LinearLevels(const DDGAMMARAMP& ramp);

// A ramp as per-channel lookup tables, each output already in its place,
// and the quicker ways when the ramp allows them.
class GammaTables {
public:
    explicit GammaTables(const DDGAMMARAMP& ramp);

    bool Identity() const { return identity_; }
    // Converts `width` pixels of `bitsPerPixel` (16, 24 or 32) at `source`;
    // `streaming` writes past the caches.
    void ConvertRow(const std::uint8_t* source, int bitsPerPixel, int width, std::uint32_t* out,
                    bool streaming = false) const;

private:
    std::optional<rows::Levels> levels_;
    std::array<std::uint32_t, 256> red_{};
    std::array<std::uint32_t, 256> green_{};
    std::array<std::uint32_t, 256> blue_{};
    // 16 bpp: 5- and 6-bit fields widened to 8 bits, then through the ramp.
    std::array<std::uint32_t, 32> red5_{};
    std::array<std::uint32_t, 64> green6_{};
    std::array<std::uint32_t, 32> blue5_{};
    bool identity_ = true;
};

// Writes the frame through the ramp into rows of 0x00RRGGBB pixels `outPitch`
// bytes apart; false (nothing written) for a depth other than 16, 24 or 32.
bool ConvertFrame(const PixelView& frame, const DDGAMMARAMP& ramp, std::uint32_t* out, int outPitch);

// The frame through the ramp as a picture; an empty one for an unknown depth.
TBitmap PresentedPicture(const PixelView& frame, const DDGAMMARAMP& ramp);

}  // namespace platform
