// The program's resources as Windows resources, decoded through the Windows
// Imaging Component, and drawn into device contexts through GDI.
#include "platform/Resources.h"
#include "platform/forms/Bitmap.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

std::vector<std::uint8_t> SourceFile(const std::string& name) {
    // Wine shows the Linux file system as drive Z:.
    std::ifstream in("Z:" TIDEREACH_SOURCE_DIR "/resources/" + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(Win32Resources, DataAndSoundAreFoundByName) {
    EXPECT_EQ(platform::FindResourceBytes("cities").size(), 3937u * 64u);
    const auto sound = platform::FindResourceBytes("SoundName");
    ASSERT_GT(sound.size(), 12u);
    EXPECT_EQ(std::string(sound.begin(), sound.begin() + 4), "RIFF");
    EXPECT_EQ(std::string(sound.begin() + 8, sound.begin() + 12), "WAVE");
    EXPECT_EQ(platform::FindResourceBytes("ground").size(), SourceFile("ground.jpg").size());
    EXPECT_TRUE(platform::FindResourceBytes("no such thing").empty());
}

TEST(Win32Resources, BitmapResourcesDecodeAsTheirFilesDo) {
    for (const char* name : {"PREV_BITMAP", "stone", "bird", "yacht", "dolphin"}) {
        const auto fromResource = platform::LoadBitmapResource(name);
        const auto fromFile = platform::DecodeBmp(SourceFile(std::string(name) + ".bmp"));
        ASSERT_TRUE(fromResource && fromFile) << name;
        EXPECT_TRUE(*fromResource == *fromFile) << name;
    }
    const auto preview = platform::LoadBitmapResource("PREV_BITMAP");
    EXPECT_EQ(preview->Width(), 154);
    EXPECT_EQ(preview->Height(), 116);
    EXPECT_FALSE(platform::LoadBitmapResource("no such thing"));
}

TEST(Win32Resources, JpegPicturesDecodeToThePixelsOfTheirFiles) {
    const auto ground = platform::LoadBitmapResource("ground");
    ASSERT_TRUE(ground);
    EXPECT_EQ(ground->Width(), 800);
    EXPECT_EQ(ground->Height(), 408);
    for (int y = 0; y < ground->Height(); y += 37)
        for (int x = 0; x < ground->Width(); x += 53) EXPECT_EQ(ground->At(x, y) & 0xFF000000u, 0u);
}

TEST(Win32Pictures, WhatIsNoPictureIsRefusedWithAReason) {
    std::string error;
    const std::vector<std::uint8_t> bmp = SourceFile("stone.bmp");
    EXPECT_FALSE(platform::DecodeJpeg(bmp, &error));
    EXPECT_FALSE(error.empty());
    error.clear();
    const std::vector<std::uint8_t> cut(bmp.begin(), bmp.begin() + 60);
    EXPECT_FALSE(platform::DecodeBmp(cut, &error));
    EXPECT_FALSE(error.empty());
    error.clear();
    const std::vector<std::uint8_t> jpegStart{0xFF, 0xD8, 0xFF, 0xE0, 0, 0, 0};
    EXPECT_FALSE(platform::DecodeJpeg(jpegStart, &error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(platform::DecodeBmp({}, &error));
}

// A 32-bit drawing target whose pixels the test reads.
class DibTarget {
public:
    DibTarget(int width, int height) : width_(width) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        dc_ = CreateCompatibleDC(nullptr);
        bitmap_ =
            CreateDIBSection(dc_, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&pixels_), nullptr, 0);
        previous_ = SelectObject(dc_, bitmap_);
    }
    ~DibTarget() {
        SelectObject(dc_, previous_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    HDC Dc() const { return dc_; }
    std::uint32_t At(int x, int y) const {
        GdiFlush();
        return pixels_[y * width_ + x] & 0x00FFFFFF;
    }

private:
    int width_;
    HDC dc_;
    HBITMAP bitmap_;
    HGDIOBJ previous_;
    std::uint32_t* pixels_ = nullptr;
};

TEST(Win32Pictures, CanvasDrawingCopiesAndScalesByNearestPixel) {
    TBitmap picture(2, 2);
    picture.Set(0, 0, 0xFF0000);
    picture.Set(1, 0, 0x00FF00);
    picture.Set(0, 1, 0x0000FF);
    picture.Set(1, 1, 0xFFFFFF);
    DibTarget target(8, 8);

    CanvasDraw(target.Dc(), 1, 2, picture);
    EXPECT_EQ(target.At(1, 2), 0xFF0000u);
    EXPECT_EQ(target.At(2, 2), 0x00FF00u);
    EXPECT_EQ(target.At(1, 3), 0x0000FFu);
    EXPECT_EQ(target.At(0, 0), 0u);

    CanvasStretchDraw(target.Dc(), RECT{4, 4, 8, 8}, picture);
    EXPECT_EQ(target.At(4, 4), 0xFF0000u);
    EXPECT_EQ(target.At(5, 5), 0xFF0000u);
    EXPECT_EQ(target.At(7, 4), 0x00FF00u);
    EXPECT_EQ(target.At(4, 7), 0x0000FFu);
    EXPECT_EQ(target.At(6, 6), 0xFFFFFFu);
}

}  // namespace
