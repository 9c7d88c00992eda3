// Converting surface pixels through a gamma ramp into what the screen shows.
#include "platform/directdraw/Presentation.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

using platform::PixelView;

DDGAMMARAMP Scaled(int redStep, int greenStep, int blueStep) {
    DDGAMMARAMP ramp{};
    for (int i = 0; i < 256; ++i) {
        ramp.red[i] = WORD(i * redStep);
        ramp.green[i] = WORD(i * greenStep);
        ramp.blue[i] = WORD(i * blueStep);
    }
    return ramp;
}

// One row of pixels in a surface format, with room for a padded pitch.
template <class Pixel>
std::vector<std::uint8_t> Row(std::initializer_list<Pixel> pixels, int bytes, int pitch) {
    std::vector<std::uint8_t> row(std::size_t(pitch), 0xEE);
    int x = 0;
    for (const Pixel p : pixels) std::memcpy(row.data() + bytes * x++, &p, bytes);
    return row;
}

TEST(Presentation, EachDepthIsReadInItsOwnLayout) {
    const DDGAMMARAMP identity = platform::IdentityRamp();
    const auto r16 = Row<std::uint16_t>({0xF800, 0x07E0, 0x001F, 0xFFFF, 0x0841}, 2, 12);
    const TBitmap p16 = platform::PresentedPicture({r16.data(), 5, 1, 12, 16}, identity);
    EXPECT_EQ(p16.At(0, 0), 0xFF0000u);
    EXPECT_EQ(p16.At(1, 0), 0x00FF00u);
    EXPECT_EQ(p16.At(2, 0), 0x0000FFu);
    EXPECT_EQ(p16.At(3, 0), 0xFFFFFFu);
    EXPECT_EQ(p16.At(4, 0), 0x080808u);

    const auto r24 = Row<std::uint32_t>({0x00332211, 0x00CCBBAA}, 3, 8);  // bytes B, G, R
    const TBitmap p24 = platform::PresentedPicture({r24.data(), 2, 1, 8, 24}, identity);
    EXPECT_EQ(p24.At(0, 0), 0x332211u);
    EXPECT_EQ(p24.At(1, 0), 0xCCBBAAu);

    // The unused top byte of a 32-bit pixel never reaches the screen.
    const auto r32 = Row<std::uint32_t>({0xFF102030, 0x00405060, 0x80000001, 0x01FFFFFF, 0xFF0000FF}, 4, 20);
    const TBitmap p32 = platform::PresentedPicture({r32.data(), 5, 1, 20, 32}, identity);
    const std::uint32_t expected[] = {0x102030, 0x405060, 0x000001, 0xFFFFFF, 0x0000FF};
    for (int x = 0; x < 5; ++x) EXPECT_EQ(p32.At(x, 0), expected[x]) << x;
}

TEST(Presentation, EveryChannelPassesThroughItsOwnTable) {
    const DDGAMMARAMP ramp = Scaled(256, 128, 0);
    const auto r32 = Row<std::uint32_t>({0xFFFFFFFF, 0x00808080}, 4, 8);
    const TBitmap p32 = platform::PresentedPicture({r32.data(), 2, 1, 8, 32}, ramp);
    EXPECT_EQ(p32.At(0, 0), 0xFF7F00u);
    EXPECT_EQ(p32.At(1, 0), 0x804000u);

    const auto r24 = Row<std::uint32_t>({0x00FFFFFF}, 3, 4);
    EXPECT_EQ(platform::PresentedPicture({r24.data(), 1, 1, 4, 24}, ramp).At(0, 0), 0xFF7F00u);
    const auto r16 = Row<std::uint16_t>({0xFFFF}, 2, 4);
    EXPECT_EQ(platform::PresentedPicture({r16.data(), 1, 1, 4, 16}, ramp).At(0, 0), 0xFF7F00u);

    // Output level = entry >> 8: the top entry 65535 gives 255, not 0.
    DDGAMMARAMP full = Scaled(0, 0, 0);
    full.green[255] = 65535;
    EXPECT_EQ(platform::PresentedPicture({r32.data(), 1, 1, 8, 32}, full).At(0, 0), 0x00FF00u);
}

TEST(Presentation, IdentityIsRecognisedWhateverTheLowBitsOfTheEntries) {
    EXPECT_TRUE(platform::GammaTables(platform::IdentityRamp()).Identity());
    EXPECT_TRUE(platform::GammaTables(Scaled(257, 257, 257)).Identity());
    EXPECT_FALSE(platform::GammaTables(Scaled(256, 256, 255)).Identity());
}

TEST(Presentation, RampsOfALevelPerChannelAreRecognisedByTheirLevels) {
    const auto levels = platform::LinearLevels(Scaled(256, 128, 0));
    ASSERT_TRUE(levels.has_value());
    EXPECT_EQ(levels->red, 256);
    EXPECT_EQ(levels->green, 128);
    EXPECT_EQ(levels->blue, 0);
    EXPECT_TRUE(platform::LinearLevels(Scaled(257, 1, 200)).has_value());
    // Steps past 257 wrap the 16-bit entries; a curve is no level either.
    EXPECT_FALSE(platform::LinearLevels(Scaled(300, 256, 256)).has_value());
    DDGAMMARAMP curve = Scaled(256, 256, 256);
    curve.blue[200] = 0;
    EXPECT_FALSE(platform::LinearLevels(curve).has_value());
}

// The quick ways give what the ramp's entries say, for every level of every
// channel, at every start and length of a row.
TEST(Presentation, LinearAndIdentityRampsGiveTheRampsLevelsExactly) {
    std::vector<std::uint8_t> source(4 * 300);
    for (std::size_t i = 0; i < source.size(); ++i) source[i] = std::uint8_t(i * 7 + i / 4);
    for (const DDGAMMARAMP& ramp : {Scaled(256, 256, 256), Scaled(255, 255, 255), Scaled(182, 112, 84),
                                    Scaled(40, 50, 70), Scaled(257, 0, 128)}) {
        ASSERT_TRUE(platform::LinearLevels(ramp).has_value());
        const platform::GammaTables tables(ramp);
        for (const int start : {0, 1, 3, 5}) {
            for (const int width : {1, 3, 4, 7, 8, 9, 15, 16, 17, 31, 33, 64, 100, 255}) {
                const std::uint8_t* in = source.data() + 4 * start;
                std::vector<std::uint32_t> expected(std::size_t(width) + 2, 0xABCDEF01);
                for (int x = 0; x < width; ++x) {
                    const std::uint8_t* p = in + 4 * x;
                    expected[std::size_t(x) + 1] = std::uint32_t(ramp.red[p[2]] >> 8) << 16 |
                                                   std::uint32_t(ramp.green[p[1]] >> 8) << 8 |
                                                   std::uint32_t(ramp.blue[p[0]] >> 8);
                }
                std::vector<std::uint32_t> got(std::size_t(width) + 2, 0xABCDEF01);
                tables.ConvertRow(in, 32, width, got.data() + 1, width > 100);
                ASSERT_EQ(got, expected) << "start " << start << " width " << width;
            }
        }
    }
}

TEST(Presentation, FramesHonourBothPitchesAndRefuseUnknownDepths) {
    std::vector<std::uint8_t> source(2 * 12, 0);
    source[0] = 0x11;           // (0,0) blue
    source[12 + 4 + 2] = 0x22;  // (1,1) red
    std::vector<std::uint32_t> out(2 * 4, 0xDEADBEEF);
    const PixelView frame{source.data(), 2, 2, 12, 32};
    ASSERT_TRUE(platform::ConvertFrame(frame, platform::IdentityRamp(), out.data(), 16));
    EXPECT_EQ(out, (std::vector<std::uint32_t>{0x11, 0, 0xDEADBEEF, 0xDEADBEEF, 0, 0x220000, 0xDEADBEEF,
                                               0xDEADBEEF}));

    EXPECT_FALSE(
        platform::ConvertFrame({source.data(), 2, 2, 12, 8}, platform::IdentityRamp(), out.data(), 16));
    EXPECT_TRUE(platform::PresentedPicture({source.data(), 2, 2, 12, 8}, platform::IdentityRamp()).Empty());
}

}  // namespace
