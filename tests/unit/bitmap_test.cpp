// The framework bitmap: copying a part, drawing it into device contexts
// unscaled and scaled, the picture decoders on well-formed and damaged
// bytes, and PNG snapshots.
#include "platform/forms/Bitmap.h"

#include "GdiTestTarget.h"
#include "tests/unit/ScratchFolder.h"

#include <gtest/gtest.h>

#include <jpeglib.h>
#include <png.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>

namespace {

using Bytes = std::vector<std::uint8_t>;

// A picture whose every pixel tells where it came from.
TBitmap Numbered(int width, int height) {
    TBitmap picture(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.Set(x, y, std::uint32_t(x) << 12 | std::uint32_t(y) | 0x800000);
    return picture;
}

using platform::PackColor;
using platform::UnpackColor;

COLORREF ColorOf(std::uint32_t rgb) { return UnpackColor(rgb, 32); }

TEST(Bitmap, CopyTakesThePartInsideThePicture) {
    const TBitmap source = Numbered(4, 3);
    const TBitmap middle = source.Copy(RECT{1, 1, 3, 3});
    ASSERT_EQ(middle.Width(), 2);
    ASSERT_EQ(middle.Height(), 2);
    EXPECT_EQ(middle.At(1, 1), source.At(2, 2));
    const TBitmap corner = source.Copy(RECT{-2, -2, 2, 1});
    ASSERT_EQ(corner.Width(), 2);
    ASSERT_EQ(corner.Height(), 1);
    EXPECT_EQ(corner.At(1, 0), source.At(1, 0));
    EXPECT_TRUE(source.Copy(RECT{3, 0, 1, 2}).Empty());
    EXPECT_TRUE(source.Copy(RECT{5, 0, 9, 2}).Empty());
    EXPECT_TRUE(TBitmap(-4, 5).Empty());
}

TEST(Canvas, DrawConvertsToEachFormatAndIsClipped) {
    TBitmap picture(2, 1);
    picture.Set(0, 0, 0x87470F);
    picture.Set(1, 0, 0xFFFFFF);
    for (int bpp : {16, 24, 32}) {
        TestTarget target(4, 3, bpp);
        CanvasDraw(target.dc(), 1, 1, picture);
        CanvasDraw(target.dc(), -1, 2, picture);
        CanvasDraw(target.dc(), 2147483600, 5, picture);
        EXPECT_EQ(target.At(1, 1), UnpackColor(PackColor(RGB(0x87, 0x47, 0x0F), bpp), bpp)) << bpp;
        EXPECT_EQ(target.At(2, 1), RGB(255, 255, 255)) << bpp;
        EXPECT_EQ(target.At(3, 1), RGB(0, 0, 0)) << bpp;
        EXPECT_EQ(target.At(0, 2), RGB(255, 255, 255)) << bpp;
        EXPECT_TRUE(target.GuardsIntact());
    }
}

// Destination pixel (dx, dy) of a w x h rectangle takes source pixel
// (dx * srcW / w, dy * srcH / h).
void ExpectNearestPixelMapping(int srcW, int srcH, int w, int h) {
    const TBitmap picture = Numbered(srcW, srcH);
    TestTarget target(w, h);
    CanvasStretchDraw(target.dc(), RECT{0, 0, w, h}, picture);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            ASSERT_EQ(target.At(x, y), ColorOf(picture.At(x * srcW / w, y * srcH / h)))
                << srcW << "x" << srcH << " -> " << w << "x" << h << " at " << x << "," << y;
}

TEST(Canvas, StretchTakesTheNearestPixelDownAndUp) {
    ExpectNearestPixelMapping(30, 11, 18, 6);     // a seagull frame
    ExpectNearestPixelMapping(40, 164, 41, 165);  // the tree mask
    ExpectNearestPixelMapping(3, 2, 7, 5);
}

TEST(Canvas, StretchOffTheTargetKeepsTheMappingOfTheWholeRectangle) {
    const TBitmap picture = Numbered(30, 11);
    TestTarget target(10, 4);
    CanvasStretchDraw(target.dc(), RECT{-5, -3, 13, 3}, picture);
    CanvasStretchDraw(target.dc(), RECT{9, 4, 0, 0}, picture);  // inverted: nothing
    for (int x = 0; x < 10; ++x) {
        for (int y = 0; y < 3; ++y)
            EXPECT_EQ(target.At(x, y), ColorOf(picture.At((x + 5) * 30 / 18, (y + 3) * 11 / 6)))
                << x << "," << y;
        EXPECT_EQ(target.At(x, 3), RGB(0, 0, 0));
    }
    EXPECT_TRUE(target.GuardsIntact());
}

Bytes EncodeJpeg(const TBitmap& picture, bool gray) {
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = JDIMENSION(picture.Width());
    info.image_height = JDIMENSION(picture.Height());
    info.input_components = gray ? 1 : 3;
    info.in_color_space = gray ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 100, TRUE);
    jpeg_start_compress(&info, TRUE);
    std::vector<JSAMPLE> row;
    while (info.next_scanline < info.image_height) {
        row.clear();
        for (std::uint32_t pixel : picture.Row(int(info.next_scanline)))
            for (int shift : gray ? std::vector{0} : std::vector{16, 8, 0})
                row.push_back(JSAMPLE(pixel >> shift));
        JSAMPROW rows[] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    Bytes bytes(buffer, buffer + size);
    std::free(buffer);
    return bytes;
}

TBitmap TwoBlocks() {
    TBitmap picture(32, 16);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 32; ++x) picture.Set(x, y, x < 16 ? 0xC81E1E : 0x1428DC);
    return picture;
}

void ExpectNear(std::uint32_t actual, std::uint32_t expected) {
    for (int shift : {0, 8, 16})
        EXPECT_NEAR(int((actual >> shift) & 0xFF), int((expected >> shift) & 0xFF), 6) << std::hex << actual;
    EXPECT_EQ(actual >> 24, 0u);
}

// Where the frame header gives height and width.
std::size_t FrameHeader(const Bytes& jpeg) {
    for (std::size_t i = 0; i + 1 < jpeg.size(); ++i)
        if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xC0) return i;
    return 0;
}

TEST(Jpeg, DecodesColourAndGreyPictures) {
    std::string error;
    const auto colour = platform::DecodeJpeg(EncodeJpeg(TwoBlocks(), false), &error);
    ASSERT_TRUE(colour.has_value()) << error;
    ASSERT_EQ(colour->Width(), 32);
    ASSERT_EQ(colour->Height(), 16);
    ExpectNear(colour->At(3, 4), 0xC81E1E);
    ExpectNear(colour->At(28, 12), 0x1428DC);
    const auto grey = platform::DecodeJpeg(EncodeJpeg(TBitmap(8, 8), true), &error);
    ASSERT_TRUE(grey.has_value()) << error;
    ExpectNear(grey->At(4, 4), 0);
}

TEST(Jpeg, DamagedOrHugeDataFailsWithAReason) {
    const Bytes good = EncodeJpeg(TwoBlocks(), false);
    Bytes garbage(200);
    for (std::size_t i = 0; i < garbage.size(); ++i) garbage[i] = std::uint8_t(i * 37 + 11);
    Bytes noWidth = good;
    noWidth[FrameHeader(good) + 7] = noWidth[FrameHeader(good) + 8] = 0;
    Bytes huge = good;  // 60000 x 60000
    huge[FrameHeader(good) + 5] = huge[FrameHeader(good) + 7] = 0xEA;
    huge[FrameHeader(good) + 6] = huge[FrameHeader(good) + 8] = 0x60;
    const Bytes cases[] = {Bytes(good.begin(), good.begin() + std::ptrdiff_t(good.size() / 2)),
                           Bytes(good.begin(), good.end() - 2),  // no end marker
                           garbage,
                           noWidth,
                           huge,
                           Bytes{},
                           Bytes{0xFF, 0xD8}};
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        std::string error;
        EXPECT_FALSE(platform::DecodeJpeg(cases[i], &error).has_value()) << i;
        EXPECT_FALSE(error.empty()) << i;
    }
}

void PutLE(Bytes& bytes, std::size_t at, std::uint32_t value, int size) {
    for (int i = 0; i < size; ++i) bytes[at + i] = std::uint8_t(value >> (8 * i));
}

// A 4x2 run-length encoded 8-bit BMP with a three-colour palette: the top
// row alternates colours 0 and 2, the bottom row is a run of colour 1.
Bytes Rle8Bmp(std::uint32_t width = 4, std::uint32_t height = 2) {
    const Bytes rle = {0x04, 0x01, 0x00, 0x00,                          // bottom row: run of four 1s
                       0x00, 0x04, 0x00, 0x02, 0x00, 0x02, 0x00, 0x00,  // top row: literal 0 2 0 2
                       0x00, 0x01};                                     // end of picture
    const Bytes palette = {30, 20, 10, 0, 50, 100, 200, 0, 0, 255, 0, 0};
    Bytes bytes(14 + 40);
    bytes[0] = 'B';
    bytes[1] = 'M';
    PutLE(bytes, 2, std::uint32_t(14 + 40 + palette.size() + rle.size()), 4);
    PutLE(bytes, 10, std::uint32_t(14 + 40 + palette.size()), 4);
    PutLE(bytes, 14, 40, 4);
    PutLE(bytes, 18, width, 4);
    PutLE(bytes, 22, height, 4);
    PutLE(bytes, 26, 1, 2);
    PutLE(bytes, 28, 8, 2);
    PutLE(bytes, 30, 1, 4);  // run-length encoded, 8 bits
    PutLE(bytes, 34, std::uint32_t(rle.size()), 4);
    PutLE(bytes, 46, 3, 4);
    bytes.insert(bytes.end(), palette.begin(), palette.end());
    bytes.insert(bytes.end(), rle.begin(), rle.end());
    return bytes;
}

TEST(Bmp, DecodesRunLengthEncodedPaletteBitmaps) {
    std::string error;
    const auto picture = platform::DecodeBmp(Rle8Bmp(), &error);
    ASSERT_TRUE(picture.has_value()) << error;
    ASSERT_EQ(picture->Width(), 4);
    ASSERT_EQ(picture->Height(), 2);
    EXPECT_EQ(picture->At(0, 0), 0x0A141Eu);
    EXPECT_EQ(picture->At(1, 0), 0x00FF00u);
    EXPECT_EQ(picture->At(3, 0), 0x00FF00u);
    for (int x = 0; x < 4; ++x) EXPECT_EQ(picture->At(x, 1), 0xC86432u);
}

TEST(Bmp, DamagedOrHugeDataFailsWithAReason) {
    const Bytes good = Rle8Bmp();
    Bytes garbage(100, 0x5A);
    garbage[0] = 'B';
    garbage[1] = 'M';
    const Bytes cases[] = {Bytes(good.begin(), good.begin() + 30), garbage, Rle8Bmp(100000, 100000), Bytes{},
                           Bytes{'B', 'M'}};
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        std::string error;
        EXPECT_FALSE(platform::DecodeBmp(cases[i], &error).has_value()) << i;
        EXPECT_FALSE(error.empty()) << i;
    }
}

TEST(Resources, OnlyPicturesLoadAsBitmaps) {
    EXPECT_FALSE(platform::LoadBitmapResource("no such resource").has_value());
    EXPECT_FALSE(platform::LoadBitmapResource("DejaVuSans").has_value()) << "the font is not a picture";
}

class PngFile : public ::testing::Test {
protected:
    const ScratchFolder dir_;
};

TEST_F(PngFile, WritesAnRgbPictureThatReadsBackTheSame) {
    const TBitmap picture = Numbered(5, 3);
    std::string error;
    ASSERT_TRUE(platform::WritePng(picture, dir_ / "shot.png", &error)) << error;
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_file(&image, (dir_ / "shot.png").c_str()));
    EXPECT_EQ(image.format, PNG_FORMAT_RGB);
    ASSERT_EQ(image.width * image.height, 15u);
    std::vector<png_byte> pixels(PNG_IMAGE_SIZE(image));
    ASSERT_TRUE(png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr));
    for (int i = 0; i < 15; ++i) {
        const png_byte* p = &pixels[std::size_t(i) * 3];
        EXPECT_EQ(std::uint32_t(p[0]) << 16 | std::uint32_t(p[1]) << 8 | p[2], picture.At(i % 5, i / 5));
    }
}

TEST_F(PngFile, FailuresAreReportedAndLeaveNoFile) {
    std::string error;
    EXPECT_FALSE(platform::WritePng(Numbered(2, 2), dir_ / "missing" / "shot.png", &error));
    EXPECT_NE(error.find("missing"), std::string::npos) << error;
    EXPECT_FALSE(platform::WritePng(TBitmap(), dir_ / "empty.png", &error));
    EXPECT_FALSE(std::filesystem::exists(dir_ / "empty.png"));
    if (std::filesystem::exists("/dev/full")) {
        EXPECT_FALSE(platform::WritePng(Numbered(64, 64), "/dev/full", &error));
        EXPECT_FALSE(error.empty());
        EXPECT_TRUE(std::filesystem::exists("/dev/full")) << "a device is not a half-written file";
    }
}

}  // namespace
