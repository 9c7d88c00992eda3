// The row kernels for processors with AVX2; this file alone is compiled
// for them, and only its table is reached from outside.
#if defined(__x86_64__)

#include "platform/pixels/PixelRowKernels.h"

#include <immintrin.h>

namespace platform::rows {
namespace {

struct Avx2 {
    using Vector = __m256i;
    static constexpr std::size_t kWidth = 32;

    static Vector Load(const std::uint8_t* in) {
        return _mm256_loadu_si256(reinterpret_cast<const Vector*>(in));
    }
    static void Store(std::uint8_t* out, Vector v) { _mm256_storeu_si256(reinterpret_cast<Vector*>(out), v); }
    static void StoreAligned(std::uint8_t* out, Vector v) {
        _mm256_store_si256(reinterpret_cast<Vector*>(out), v);
    }
    static void Stream(std::uint8_t* out, Vector v) {
        _mm256_stream_si256(reinterpret_cast<Vector*>(out), v);
    }
    static Vector Splat8(std::uint8_t value) { return _mm256_set1_epi8(char(value)); }
    static Vector Splat32(std::uint32_t value) { return _mm256_set1_epi32(int(value)); }
    static Vector And(Vector a, Vector b) { return _mm256_and_si256(a, b); }
    // B, G, R, X of each pixel; the X byte's step is 0.
    static Vector Steps(Levels levels) {
        const short b = short(levels.blue);
        const short g = short(levels.green);
        const short r = short(levels.red);
        return _mm256_setr_epi16(b, g, r, 0, b, g, r, 0, b, g, r, 0, b, g, r, 0);
    }
    // Bytes widened to 16 bits (at most 255 * 257 after the multiply),
    // scaled, shifted down and packed back; unpacking and packing both work
    // within 128-bit lanes, so the pixels keep their order.
    static Vector Scale(Vector v, Vector steps) {
        const Vector zero = _mm256_setzero_si256();
        const Vector low = _mm256_srli_epi16(_mm256_mullo_epi16(_mm256_unpacklo_epi8(v, zero), steps), 8);
        const Vector high = _mm256_srli_epi16(_mm256_mullo_epi16(_mm256_unpackhi_epi8(v, zero), steps), 8);
        return _mm256_packus_epi16(low, high);
    }
};

}  // namespace

const KernelTable& Avx2Kernels() { return Kernels<Avx2>::kTable; }

}  // namespace platform::rows

#endif
