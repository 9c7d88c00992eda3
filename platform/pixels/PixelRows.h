// The row operations every frame is made of, at the memory's speed: fills,
// copies and the conversions of 32-bit pixels for the screen. SIMD, with
// the widest the processor has chosen at run time. Streaming variants write
// past the caches, for areas too large to stay in them; call StreamFence
// once after them. Internal to platform/.
#pragma once

#include <cstddef>
#include <cstdint>

namespace platform::rows {

// Whether an area of `bytes` is written streaming: from half the last-level
// cache on, it would only push the rest of the frame out of the cache, and
// its next reader finds it in memory either way.
bool Streams(std::size_t bytes);

// `bytes` bytes of `value` at `out`.
void Fill(std::uint8_t* out, std::uint8_t value, std::size_t bytes, bool streaming);

// `bytes` bytes from `in` to `out`; the two do not overlap.
void Copy(std::uint8_t* out, const std::uint8_t* in, std::size_t bytes, bool streaming);

// `count` XRGB8888 pixels with their top byte cleared.
void CopyPixels(std::uint32_t* out, const std::uint8_t* in, std::size_t count, bool streaming);

// A level per channel: a channel's output is (input * step) >> 8, for steps
// 0 to 257 (256 and 257 leave it unchanged).
struct Levels {
    std::uint16_t red = 256;
    std::uint16_t green = 256;
    std::uint16_t blue = 256;
};

// `count` XRGB8888 pixels scaled by `levels`, their top byte cleared.
void ScalePixels(std::uint32_t* out, const std::uint8_t* in, std::size_t count, Levels levels,
                 bool streaming);

// Orders streaming writes before whatever follows.
void StreamFence();

}  // namespace platform::rows
