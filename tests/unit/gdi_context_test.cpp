// Device contexts: colours in the surface formats, single pixels, pens and
// brushes, text, device capabilities and window contexts.
#include "GdiTestTarget.h"
#include "platform/backends/headless/Headless.h"
#include "platform/forms/Bitmap.h"
#include "platform/seam/Backend.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

using platform::PackColor;
using platform::UnpackColor;

TEST(PixelFormat, SixteenBitsPackTheTopBitsAndReplicateThemBack) {
    EXPECT_EQ(PackColor(RGB(255, 0, 0), 16), 0xF800u);
    EXPECT_EQ(PackColor(RGB(0x87, 0x47, 0x0F), 16), 0x8221u);
    EXPECT_EQ(UnpackColor(0xFFFF, 16), RGB(255, 255, 255));
    EXPECT_EQ(UnpackColor(0x8221, 16), RGB(0x84, 0x45, 0x08));
    // Colour-key matching relies on every pixel value surviving the way
    // through a colour and back.
    for (std::uint32_t pixel = 0; pixel <= 0xFFFF; ++pixel)
        ASSERT_EQ(PackColor(UnpackColor(pixel, 16), 16), pixel);
    EXPECT_EQ(UnpackColor(5, 8), CLR_INVALID) << "no colours at unknown depths";
}

TEST(Pixels, SetPixelStoresTheFormatsBytesAndAnswersWhatWasStored) {
    TestTarget wide(3, 2, 32);
    TestTarget packed(3, 2, 24);
    TestTarget high(3, 2, 16);
    EXPECT_EQ(SetPixel(wide.dc(), 1, 1, RGB(0x11, 0x22, 0x33)), RGB(0x11, 0x22, 0x33));
    EXPECT_EQ(std::memcmp(wide.Bytes(1, 1), "\x33\x22\x11\x00", 4), 0);
    SetPixel(packed.dc(), 2, 0, RGB(0x11, 0x22, 0x33));
    EXPECT_EQ(std::memcmp(packed.Bytes(2, 0), "\x33\x22\x11", 3), 0);
    EXPECT_EQ(SetPixel(high.dc(), 0, 1, RGB(0x87, 0x47, 0x0F)), RGB(0x84, 0x45, 0x08));
    EXPECT_EQ(std::memcmp(high.Bytes(0, 1), "\x21\x82", 2), 0);
    EXPECT_EQ(high.At(0, 1), RGB(0x84, 0x45, 0x08));
}

TEST(Pixels, OutsideTheTargetIsInvalidAndUntouched) {
    TestTarget target(3, 2, 24);
    for (const POINT p : {POINT{-1, 0}, POINT{3, 0}, POINT{0, -1}, POINT{0, 2}}) {
        EXPECT_EQ(SetPixel(target.dc(), p.x, p.y, RGB(255, 255, 255)), CLR_INVALID);
        EXPECT_EQ(GetPixel(target.dc(), p.x, p.y), CLR_INVALID);
    }
    EXPECT_TRUE(target.GuardsIntact());
}

TEST(Objects, NewContextHasBlackPenAndWhiteBrushAndSelectingAnswersThePrevious) {
    TestTarget target(4, 4, 32, RGB(0, 0, 255));
    Rectangle(target.dc(), 0, 0, 3, 3);
    EXPECT_EQ(target.At(0, 0), RGB(0, 0, 0));
    EXPECT_EQ(target.At(1, 1), RGB(255, 255, 255));

    HPEN pen = CreatePen(PS_SOLID, 1, RGB(1, 2, 3));
    HBRUSH brush = CreateSolidBrush(RGB(4, 5, 6));
    HGDIOBJ stockPen = SelectObject(target.dc(), pen);
    HGDIOBJ stockBrush = SelectObject(target.dc(), brush);
    EXPECT_EQ(SelectObject(target.dc(), reinterpret_cast<GdiObject*>(&target)), nullptr);
    EXPECT_EQ(SelectObject(target.dc(), stockPen), pen);
    EXPECT_EQ(SelectObject(target.dc(), stockBrush), brush);
    EXPECT_TRUE(DeleteObject(pen));
    EXPECT_TRUE(DeleteObject(brush));
}

TEST(Objects, NoObjectIsFreedWhileSelectedOrTwiceOrWhenUnknown) {
    HBRUSH brush = CreateSolidBrush(RGB(9, 9, 9));
    HPEN pen = CreatePen(PS_SOLID, 0, RGB(9, 9, 9));
    {
        TestTarget target(3, 3);
        HGDIOBJ previous = SelectObject(target.dc(), brush);
        SelectObject(target.dc(), pen);  // released with the context
        EXPECT_FALSE(DeleteObject(brush));
        Rectangle(target.dc(), 0, 0, 3, 3);
        EXPECT_EQ(target.At(1, 1), RGB(9, 9, 9));
        SelectObject(target.dc(), previous);
    }
    EXPECT_TRUE(DeleteObject(brush));
    EXPECT_TRUE(DeleteObject(pen));
    EXPECT_FALSE(DeleteObject(pen));
    EXPECT_FALSE(DeleteObject(reinterpret_cast<GdiObject*>(&brush))) << "not an object";
    EXPECT_EQ(CreatePen(PS_SOLID, 2, RGB(1, 1, 1)), nullptr) << "only one-pixel pens are drawn";
}

// How many pixels text changed, and the smallest box around them.
struct Ink {
    int count = 0;
    int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
    bool exact = false;  // some pixel has exactly the text colour
};

Ink InkOf(const TestTarget& target, COLORREF background, COLORREF color) {
    Ink ink;
    for (int y = 0; y < target.height(); ++y)
        for (int x = 0; x < target.width(); ++x) {
            const COLORREF c = target.At(x, y);
            if (c == background) continue;
            ++ink.count;
            ink.exact = ink.exact || c == color;
            ink.left = std::min(ink.left, x);
            ink.top = std::min(ink.top, y);
            ink.right = std::max(ink.right, x);
            ink.bottom = std::max(ink.bottom, y);
        }
    return ink;
}

TEST(Text, DrawsInTheTextColourInsideItsCell) {
    for (int bpp : {16, 24, 32}) {
        TestTarget target(80, 40, bpp);
        SetBkMode(target.dc(), TRANSPARENT);
        SetTextColor(target.dc(), RGB(255, 255, 0));
        const std::string text = "Hg\xC1";  // a descender and an accent
        ASSERT_TRUE(TextOutA(target.dc(), 5, 10, text.c_str(), int(text.size())));
        const Ink ink = InkOf(target, RGB(0, 0, 0), RGB(255, 255, 0));
        EXPECT_GT(ink.count, 20) << bpp;
        EXPECT_TRUE(ink.exact) << bpp;
        EXPECT_GE(ink.left, 5);
        EXPECT_LE(ink.right, 5 + 40);
        EXPECT_GE(ink.top, 10);
        EXPECT_LT(ink.bottom, 10 + 16);
        EXPECT_GT(ink.bottom, 10 + 13) << "the descender reaches below the baseline";
    }
}

TEST(Text, EmptyTextDrawsNothingAndBadLengthsAreRefused) {
    TestTarget target(20, 20);
    SetTextColor(target.dc(), RGB(255, 255, 255));
    EXPECT_TRUE(TextOutA(target.dc(), 0, 0, "", 0));
    EXPECT_TRUE(TextOutA(target.dc(), 0, 0, nullptr, 0));
    EXPECT_TRUE(TextOutA(target.dc(), 0, 0, "abc", 0));
    EXPECT_EQ(SetBkMode(target.dc(), 77), 0);
    EXPECT_FALSE(TextOutA(target.dc(), 0, 0, nullptr, 3));
    EXPECT_FALSE(TextOutA(target.dc(), 0, 0, "abc", -1));
    EXPECT_EQ(InkOf(target, RGB(0, 0, 0), 0).count, 0);
}

TEST(Text, ClippedAtEveryEdge) {
    TestTarget target(12, 10);
    SetBkMode(target.dc(), TRANSPARENT);
    SetTextColor(target.dc(), RGB(255, 255, 255));
    EXPECT_TRUE(TextOutA(target.dc(), -6, -8, "WWW", 3));
    EXPECT_TRUE(TextOutA(target.dc(), 8, 6, "WWW", 3));
    EXPECT_TRUE(TextOutA(target.dc(), 2147483000, -2147483000, "WWW", 3));
    EXPECT_TRUE(target.GuardsIntact());
    EXPECT_GT(InkOf(target, RGB(0, 0, 0), RGB(255, 255, 255)).count, 0);
}

TEST(Text, ThreadsDrawingAtOnceGetTheSamePicture) {
    // The font loads on first use, and several threads may be first at once.
    std::vector<std::unique_ptr<TestTarget>> targets;
    std::vector<std::thread> threads;
    for (int i = 0; i < 4; ++i) targets.push_back(std::make_unique<TestTarget>(120, 20));
    for (auto& target : targets)
        threads.emplace_back([dc = target->dc()] {
            SetBkMode(dc, TRANSPARENT);
            SetTextColor(dc, RGB(255, 255, 255));
            TextOutA(dc, 1, 1, "Frame rate: 60 FPS", 18);
        });
    for (std::thread& thread : threads) thread.join();
    const std::map<COLORREF, char> legend{{RGB(0, 0, 0), '.'}, {RGB(255, 255, 255), '#'}};
    for (const auto& target : targets) EXPECT_EQ(target->Picture(legend), targets[0]->Picture(legend));
}

class WindowContext : public ::testing::Test {
protected:
    void SetUp() override { platform::headless::Install({{1280, 1024, 16}, 1, true}); }
    void TearDown() override { platform::headless::Install(); }
};

TEST_F(WindowContext, ScreenContextDescribesTheDesktopAndHasNoPixels) {
    HDC screen = GetDC(0);
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(GetDeviceCaps(screen, HORZRES), 1280);
    EXPECT_EQ(GetDeviceCaps(screen, VERTRES), 1024);
    EXPECT_EQ(GetDeviceCaps(screen, BITSPIXEL), 16);
    EXPECT_FALSE(Rectangle(screen, 0, 0, 4, 4));
    EXPECT_FALSE(TextOutA(screen, 0, 0, "a", 1));
    EXPECT_EQ(GetPixel(screen, 0, 0), CLR_INVALID);
    EXPECT_EQ(ReleaseDC(0, screen), 1);
}

TEST_F(WindowContext, PicturesReachTheWindowOnRelease) {
    const HWND window = platform::CurrentBackend().CreateWindow("preview");
    HDC dc = GetDC(window);
    ASSERT_NE(dc, nullptr);
    TBitmap picture(2, 1);
    picture.Set(0, 0, 0x0000FF);
    picture.Set(1, 0, 0xFF0000);
    CanvasDraw(dc, 0, 0, picture);
    EXPECT_FALSE(platform::headless::LastPaintedPicture(window).has_value());
    EXPECT_EQ(ReleaseDC(window, dc), 1);
    EXPECT_EQ(platform::headless::LastPaintedPicture(window), picture);

    dc = GetDC(window);
    CanvasStretchDraw(dc, RECT{0, 0, 4, 2}, picture);
    ReleaseDC(window, dc);
    const auto stretched = platform::headless::LastPaintedPicture(window);
    ASSERT_TRUE(stretched.has_value());
    ASSERT_EQ(stretched->Width(), 4);
    ASSERT_EQ(stretched->Height(), 2);
    EXPECT_EQ(stretched->At(1, 1), 0x0000FFu);
    EXPECT_EQ(stretched->At(2, 0), 0xFF0000u);
}

TEST_F(WindowContext, OnlyAContextObtainedForThatWindowIsReleased) {
    const HWND window = platform::CurrentBackend().CreateWindow("preview");
    const HWND other = platform::CurrentBackend().CreateWindow("other");
    HDC dc = GetDC(window);
    TestTarget surface(2, 2);
    EXPECT_EQ(ReleaseDC(other, dc), 0);
    EXPECT_EQ(ReleaseDC(window, surface.dc()), 0);
    EXPECT_EQ(ReleaseDC(window, nullptr), 0);
    EXPECT_EQ(ReleaseDC(window, dc), 1);
    EXPECT_EQ(ReleaseDC(window, dc), 0) << "released twice";
    EXPECT_EQ(GetDC(HWND(0xDEAD)), nullptr) << "no such window";
}

}  // namespace
