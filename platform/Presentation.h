// What the screen shows of a surface: every channel passed through the gamma
// ramp (output level = entry >> 8) into 0x00RRGGBB pixels. Back ends call
// this once per presented frame.
#pragma once

#include "platform/Backend.h"
#include "platform/Bitmap.h"
#include "platform/DirectDraw.h"

#include <array>
#include <cstdint>

namespace platform {

// Entry i = 256 * i in every channel: the picture unchanged.
DDGAMMARAMP IdentityRamp();

// A ramp as per-channel lookup tables, each output already in its place.
class GammaTables {
public:
    explicit GammaTables(const DDGAMMARAMP& ramp);

    bool Identity() const { return identity_; }
    // Converts `width` pixels of `bitsPerPixel` (16, 24 or 32) at `source`.
    void ConvertRow(const std::uint8_t* source, int bitsPerPixel, int width, std::uint32_t* out) const;

private:
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
