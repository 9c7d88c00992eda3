// Arbitrary bytes as an embedded BMP picture, run-length encoded ones
// included: decoding must fail cleanly with a reason or give a picture of
// 0x00RRGGBB pixels within the limits.

#include "platform/Bitmap.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string error;
    const auto picture = platform::DecodeBmp({data, size}, &error);
    if (!picture) {
        if (error.empty()) std::abort();
        return 0;
    }
    if (picture->Empty()) std::abort();
    for (int y = 0; y < picture->Height(); ++y)
        for (const std::uint32_t pixel : picture->Row(y))
            if (pixel > 0x00FFFFFF) std::abort();
    return 0;
}
