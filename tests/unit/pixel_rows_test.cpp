// The row kernels against the C library's fills and copies: every length
// and alignment around the vector widths, streamed or not, and nothing
// written outside the row.
#include "platform/pixels/PixelRows.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

namespace rows = platform::rows;

constexpr std::size_t kLengths[] = {0,  1,  3,  15,  16,  17,  31,  32,   33,
                                    63, 64, 65, 127, 128, 129, 200, 1000, 4099};

TEST(PixelRows, FillsAndCopiesMatchTheLibraryAtEveryLengthAndAlignment) {
    std::vector<std::uint8_t> source(4200 + 64);
    for (std::size_t i = 0; i < source.size(); ++i) source[i] = std::uint8_t(i * 31 + 7);
    for (const bool streaming : {false, true}) {
        for (const std::size_t offset : {0, 1, 5, 16, 31}) {
            for (const std::size_t length : kLengths) {
                std::vector<std::uint8_t> expected(4200 + 64, 0x5A);
                std::vector<std::uint8_t> got = expected;
                std::memset(expected.data() + offset, 0xC3, length);
                rows::Fill(got.data() + offset, 0xC3, length, streaming);
                rows::StreamFence();
                ASSERT_EQ(got, expected) << "fill at " << offset << " of " << length;

                std::memcpy(expected.data() + offset, source.data() + 3, length);
                rows::Copy(got.data() + offset, source.data() + 3, length, streaming);
                rows::StreamFence();
                ASSERT_EQ(got, expected) << "copy at " << offset << " of " << length;
            }
        }
    }
}

TEST(PixelRows, PixelsLoseTheirTopByteAndScaleByTheirChannelsLevels) {
    std::vector<std::uint32_t> source(1100);
    for (std::size_t i = 0; i < source.size(); ++i) source[i] = std::uint32_t(i * 2654435761u);
    const auto* in = reinterpret_cast<const std::uint8_t*>(source.data());
    const rows::Levels levels{257, 128, 3};
    for (const bool streaming : {false, true}) {
        for (const std::size_t offset : {0, 1, 3}) {
            for (const std::size_t count : {0, 1, 3, 4, 7, 8, 9, 17, 33, 1000}) {
                std::vector<std::uint32_t> copied(1100, 0xFFFFFFFF);
                std::vector<std::uint32_t> scaled = copied;
                rows::CopyPixels(copied.data() + offset, in, count, streaming);
                rows::ScalePixels(scaled.data() + offset, in, count, levels, streaming);
                rows::StreamFence();
                for (std::size_t i = 0; i < copied.size(); ++i) {
                    const bool inside = i >= offset && i < offset + count;
                    const std::uint32_t p = inside ? source[i - offset] : 0;
                    const std::uint32_t red = ((p >> 16 & 0xFF) * 257) >> 8;
                    const std::uint32_t green = ((p >> 8 & 0xFF) * 128) >> 8;
                    const std::uint32_t blue = ((p & 0xFF) * 3) >> 8;
                    ASSERT_EQ(copied[i], inside ? p & 0x00FFFFFF : 0xFFFFFFFF) << count << " at " << i;
                    ASSERT_EQ(scaled[i], inside ? red << 16 | green << 8 | blue : 0xFFFFFFFF)
                        << count << " at " << i;
                }
            }
        }
    }
}

}  // namespace
