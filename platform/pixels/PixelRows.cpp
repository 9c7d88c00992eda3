#include "platform/pixels/PixelRows.h"

#include "platform/pixels/PixelRowKernels.h"

#include <unistd.h>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace platform::rows {

#if defined(__x86_64__)

// Compiled for AVX2 in a file of its own.
const KernelTable& Avx2Kernels();

namespace {

// SSE2: every x86-64 processor has it.
struct Sse2 {
    using Vector = __m128i;
    static constexpr std::size_t kWidth = 16;

    static Vector Load(const std::uint8_t* in) {
        return _mm_loadu_si128(reinterpret_cast<const Vector*>(in));
    }
    static void Store(std::uint8_t* out, Vector v) { _mm_storeu_si128(reinterpret_cast<Vector*>(out), v); }
    static void StoreAligned(std::uint8_t* out, Vector v) {
        _mm_store_si128(reinterpret_cast<Vector*>(out), v);
    }
    static void Stream(std::uint8_t* out, Vector v) { _mm_stream_si128(reinterpret_cast<Vector*>(out), v); }
    static Vector Splat8(std::uint8_t value) { return _mm_set1_epi8(char(value)); }
    static Vector Splat32(std::uint32_t value) { return _mm_set1_epi32(int(value)); }
    static Vector And(Vector a, Vector b) { return _mm_and_si128(a, b); }
    static Vector Steps(Levels levels) {
        const short b = short(levels.blue);
        const short g = short(levels.green);
        const short r = short(levels.red);
        return _mm_setr_epi16(b, g, r, 0, b, g, r, 0);
    }
    static Vector Scale(Vector v, Vector steps) {
        const Vector zero = _mm_setzero_si128();
        const Vector low = _mm_srli_epi16(_mm_mullo_epi16(_mm_unpacklo_epi8(v, zero), steps), 8);
        const Vector high = _mm_srli_epi16(_mm_mullo_epi16(_mm_unpackhi_epi8(v, zero), steps), 8);
        return _mm_packus_epi16(low, high);
    }
};

const KernelTable& Chosen() {
    static const KernelTable& table = __builtin_cpu_supports("avx2") ? Avx2Kernels() : Kernels<Sse2>::kTable;
    return table;
}

}  // namespace

void StreamFence() { _mm_sfence(); }

#else

namespace {

// Elsewhere: the C library's calls and plain loops.
struct Plain {
    static void Fill(std::uint8_t* out, std::uint8_t value, std::size_t bytes, bool) {
        std::memset(out, value, bytes);
    }
    static void Copy(std::uint8_t* out, const std::uint8_t* in, std::size_t bytes, bool) {
        std::memcpy(out, in, bytes);
    }
    static void CopyPixels(std::uint32_t* out, const std::uint8_t* in, std::size_t count, bool) {
        for (std::size_t i = 0; i < count; ++i) out[i] = LoadPixel(in + 4 * i) & 0x00FFFFFFu;
    }
    static void ScalePixels(std::uint32_t* out, const std::uint8_t* in, std::size_t count, Levels levels,
                            bool) {
        for (std::size_t i = 0; i < count; ++i) out[i] = ScalePixel(LoadPixel(in + 4 * i), levels);
    }
};

const KernelTable& Chosen() {
    static constexpr KernelTable table{Plain::Fill, Plain::Copy, Plain::CopyPixels, Plain::ScalePixels};
    return table;
}

}  // namespace

void StreamFence() {}

#endif

bool Streams(std::size_t bytes) {
    static const std::size_t threshold = [] {
        long cache = sysconf(_SC_LEVEL3_CACHE_SIZE);
        if (cache <= 0) cache = sysconf(_SC_LEVEL2_CACHE_SIZE);
        return cache > 0 ? std::size_t(cache) / 2 : std::size_t(4) << 20;
    }();
    return bytes >= threshold;
}

void Fill(std::uint8_t* out, std::uint8_t value, std::size_t bytes, bool streaming) {
    Chosen().fill(out, value, bytes, streaming);
}

void Copy(std::uint8_t* out, const std::uint8_t* in, std::size_t bytes, bool streaming) {
    Chosen().copy(out, in, bytes, streaming);
}

void CopyPixels(std::uint32_t* out, const std::uint8_t* in, std::size_t count, bool streaming) {
    Chosen().copyPixels(out, in, count, streaming);
}

void ScalePixels(std::uint32_t* out, const std::uint8_t* in, std::size_t count, Levels levels,
                 bool streaming) {
    Chosen().scalePixels(out, in, count, levels, streaming);
}

}  // namespace platform::rows
