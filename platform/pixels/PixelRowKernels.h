// The kernels behind PixelRows, written once over an instruction set's
// vector operations `Ops` and compiled once per instruction set. Included
// only by the files that compile them; everything here has internal
// linkage, so copies compiled for different instruction sets never mix.
// Internal to platform/.
#pragma once

#include "platform/pixels/PixelRows.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace platform::rows {

// The kernels of one instruction set.
struct KernelTable {
    void (*fill)(std::uint8_t* out, std::uint8_t value, std::size_t bytes, bool streaming);
    void (*copy)(std::uint8_t* out, const std::uint8_t* in, std::size_t bytes, bool streaming);
    void (*copyPixels)(std::uint32_t* out, const std::uint8_t* in, std::size_t count, bool streaming);
    void (*scalePixels)(std::uint32_t* out, const std::uint8_t* in, std::size_t count, Levels levels,
                        bool streaming);
};

namespace {

inline std::uint32_t LoadPixel(const std::uint8_t* in) {
    std::uint32_t value;
    std::memcpy(&value, in, sizeof value);
    return value;
}

inline std::uint32_t ScalePixel(std::uint32_t pixel, Levels levels) {
    const std::uint32_t red = (((pixel >> 16) & 0xFF) * levels.red) >> 8;
    const std::uint32_t green = (((pixel >> 8) & 0xFF) * levels.green) >> 8;
    const std::uint32_t blue = ((pixel & 0xFF) * levels.blue) >> 8;
    return red << 16 | green << 8 | blue;
}

// `Ops` gives Vector, kWidth (bytes), Load, Store (both unaligned),
// StoreAligned, Stream (aligned, past the caches), Splat8, Splat32, And,
// Steps(levels) and Scale(vector, steps).
template <class Ops>
struct Kernels {
    using Vector = typename Ops::Vector;
    static constexpr std::size_t W = Ops::kWidth;

    static std::size_t ToBoundary(const void* out) {
        return (W - reinterpret_cast<std::uintptr_t>(out) % W) % W;
    }

    static void Fill(std::uint8_t* out, std::uint8_t value, std::size_t bytes, bool streaming) {
        if (bytes < 4 * W) {
            std::memset(out, value, bytes);
            return;
        }
        const Vector v = Ops::Splat8(value);
        Ops::Store(out, v);
        std::uint8_t* p = out + ToBoundary(out);
        std::uint8_t* const end = out + bytes;
        if (streaming) {
            for (; p + 4 * W <= end; p += 4 * W) {
                Ops::Stream(p, v);
                Ops::Stream(p + W, v);
                Ops::Stream(p + 2 * W, v);
                Ops::Stream(p + 3 * W, v);
            }
        } else {
            for (; p + 4 * W <= end; p += 4 * W) {
                Ops::StoreAligned(p, v);
                Ops::StoreAligned(p + W, v);
                Ops::StoreAligned(p + 2 * W, v);
                Ops::StoreAligned(p + 3 * W, v);
            }
        }
        for (; p + W <= end; p += W) Ops::Store(p, v);
        Ops::Store(end - W, v);
    }

    // Turns `bytes` bytes of input into as many of output, a vector at a
    // time with `op`: the first vector unaligned, then from the output's
    // vector boundary on, the last one overlapping the one before. `bytes`
    // is at least one vector, and `op` gives the same output for the same
    // input wherever it lands, so overlaps are harmless.
    template <class Op>
    static void Walk(std::uint8_t* out, const std::uint8_t* in, std::size_t bytes, bool streaming, Op op) {
        Ops::Store(out, op(Ops::Load(in)));
        std::size_t done = ToBoundary(out);
        if (streaming) {
            for (; done + 4 * W <= bytes; done += 4 * W) {
                const Vector a = op(Ops::Load(in + done));
                const Vector b = op(Ops::Load(in + done + W));
                const Vector c = op(Ops::Load(in + done + 2 * W));
                const Vector d = op(Ops::Load(in + done + 3 * W));
                Ops::Stream(out + done, a);
                Ops::Stream(out + done + W, b);
                Ops::Stream(out + done + 2 * W, c);
                Ops::Stream(out + done + 3 * W, d);
            }
        }
        for (; done + W <= bytes; done += W) Ops::Store(out + done, op(Ops::Load(in + done)));
        Ops::Store(out + bytes - W, op(Ops::Load(in + bytes - W)));
    }

    // The short runs of keyed pictures, without a call: a first and a last
    // piece that overlap as needed.
    template <std::size_t N>
    static void CopyEnds(std::uint8_t* out, const std::uint8_t* in, std::size_t bytes) {
        std::uint8_t first[N];
        std::uint8_t last[N];
        std::memcpy(first, in, N);
        std::memcpy(last, in + bytes - N, N);
        std::memcpy(out, first, N);
        std::memcpy(out + bytes - N, last, N);
    }

    static void CopyShort(std::uint8_t* out, const std::uint8_t* in, std::size_t bytes) {
        if (bytes >= 16) {
            for (std::size_t done = 0; done + 16 < bytes; done += 16) std::memcpy(out + done, in + done, 16);
            CopyEnds<16>(out, in, bytes);
        } else if (bytes >= 8) {
            CopyEnds<8>(out, in, bytes);
        } else if (bytes >= 4) {
            CopyEnds<4>(out, in, bytes);
        } else {
            for (std::size_t i = 0; i < bytes; ++i) out[i] = in[i];
        }
    }

    static void Copy(std::uint8_t* out, const std::uint8_t* in, std::size_t bytes, bool streaming) {
        if (bytes < 2 * W) {
            CopyShort(out, in, bytes);
            return;
        }
        Walk(out, in, bytes, streaming, [](Vector v) { return v; });
    }

    static void CopyPixels(std::uint32_t* out, const std::uint8_t* in, std::size_t count, bool streaming) {
        if (count * 4 < W) {
            for (std::size_t i = 0; i < count; ++i) out[i] = LoadPixel(in + 4 * i) & 0x00FFFFFFu;
            return;
        }
        const Vector mask = Ops::Splat32(0x00FFFFFFu);
        Walk(reinterpret_cast<std::uint8_t*>(out), in, count * 4, streaming,
             [mask](Vector v) { return Ops::And(v, mask); });
    }

    static void ScalePixels(std::uint32_t* out, const std::uint8_t* in, std::size_t count, Levels levels,
                            bool streaming) {
        if (count * 4 < W) {
            for (std::size_t i = 0; i < count; ++i) out[i] = ScalePixel(LoadPixel(in + 4 * i), levels);
            return;
        }
        const Vector steps = Ops::Steps(levels);
        Walk(reinterpret_cast<std::uint8_t*>(out), in, count * 4, streaming,
             [steps](Vector v) { return Ops::Scale(v, steps); });
    }

    static constexpr KernelTable kTable{Fill, Copy, CopyPixels, ScalePixels};
};

}  // namespace
}  // namespace platform::rows
