#include "platform/directdraw/Presentation.h"

#include "platform/pixels/PixelFormat.h"

#include <cstring>

namespace platform {
namespace {

std::uint32_t Level(WORD entry) { return std::uint32_t(entry >> 8); }

// A 5- or 6-bit field widened to 8 bits so that its maximum becomes 255.
std::uint32_t Widen(std::uint32_t field, int bits) {
    return (field << (8 - bits)) | (field >> (2 * bits - 8));
}

}  // namespace

std::optional<rows::Levels> LinearLevels(const DDGAMMARAMP& ramp) {
    // A linear ramp's entry 1 is its step; the levels decide, not the entries.
    auto step = [](const WORD(&channel)[256]) -> std::optional<std::uint16_t> {
        const std::uint32_t candidate = channel[1];
        if (candidate > 257) return std::nullopt;
        for (std::uint32_t i = 0; i < 256; ++i) {
            if (Level(channel[i]) != (i * candidate) >> 8) return std::nullopt;
        }
        return std::uint16_t(candidate);
    };
    const auto red = step(ramp.red);
    const auto green = step(ramp.green);
    const auto blue = step(ramp.blue);
    if (!red || !green || !blue) return std::nullopt;
    return rows::Levels{*red, *green, *blue};
}

GammaTables::GammaTables(const DDGAMMARAMP& ramp) : levels_(LinearLevels(ramp)) {
    for (std::uint32_t i = 0; i < 256; ++i) {
        red_[i] = Level(ramp.red[i]) << 16;
        green_[i] = Level(ramp.green[i]) << 8;
        blue_[i] = Level(ramp.blue[i]);
        identity_ =
            identity_ && Level(ramp.red[i]) == i && Level(ramp.green[i]) == i && Level(ramp.blue[i]) == i;
    }
    for (std::uint32_t i = 0; i < 32; ++i) {
        red5_[i] = red_[Widen(i, 5)];
        blue5_[i] = blue_[Widen(i, 5)];
    }
    for (std::uint32_t i = 0; i < 64; ++i) green6_[i] = green_[Widen(i, 6)];
}

void GammaTables::ConvertRow(const std::uint8_t* source, int bitsPerPixel, int width, std::uint32_t* out,
                             bool streaming) const {
    switch (bitsPerPixel) {
    case 16:
        for (int x = 0; x < width; ++x) {
            const std::uint32_t p = ReadPixel(source + 2 * x, 2);
            out[x] = red5_[p >> 11] | green6_[(p >> 5) & 63] | blue5_[p & 31];
        }
        break;
    case 24:
        for (int x = 0; x < width; ++x) {
            const std::uint8_t* p = source + 3 * x;
            out[x] = red_[p[2]] | green_[p[1]] | blue_[p[0]];
        }
        break;
    case 32:
        if (identity_) {
            rows::CopyPixels(out, source, std::size_t(width), streaming);
        } else if (levels_) {
            rows::ScalePixels(out, source, std::size_t(width), *levels_, streaming);
        } else {
            for (int x = 0; x < width; ++x) {
                const std::uint8_t* p = source + 4 * x;
                out[x] = red_[p[2]] | green_[p[1]] | blue_[p[0]];
            }
        }
        break;
    default:
        break;
    }
}

bool ConvertFrame(const PixelView& frame, const DDGAMMARAMP& ramp, std::uint32_t* out, int outPitch) {
    if (!IsSurfaceDepth(frame.bitsPerPixel)) return false;
    const GammaTables tables(ramp);
    auto* outBytes = reinterpret_cast<std::uint8_t*>(out);
    for (int y = 0; y < frame.height; ++y) {
        tables.ConvertRow(frame.pixels + std::size_t(y) * frame.pitch, frame.bitsPerPixel, frame.width,
                          reinterpret_cast<std::uint32_t*>(outBytes + std::size_t(y) * outPitch));
    }
    return true;
}

TBitmap PresentedPicture(const PixelView& frame, const DDGAMMARAMP& ramp) {
    if (!IsSurfaceDepth(frame.bitsPerPixel)) return {};
    TBitmap picture(frame.width, frame.height);
    const GammaTables tables(ramp);
    for (int y = 0; y < frame.height; ++y) {
        tables.ConvertRow(frame.pixels + std::size_t(y) * frame.pitch, frame.bitsPerPixel, frame.width,
                          picture.Row(y).data());
    }
    return picture;
}

}  // namespace platform
