// The sprite on the headless display: clipping to the screen, frames of a
// strip picture, colour keys and every failure report.

#include "display/Sprite.h"

#include "display/SurfaceColor.h"
#include "tests/component/DrawableFixture.h"

#include <climits>
#include <functional>
#include <optional>
#include <utility>

namespace drawable_test {
namespace {

class SpriteTest : public DisplayTest {
protected:
    void Build(Sprite& sprite, const TBitmap& picture) {
        Link(sprite, picture);
        sprite.CreateSurface();
        ASSERT_NE(sprite.surface, nullptr) << sprite.ErrorText();
    }
    static void DrawAt(Sprite& sprite, int x, int y) {
        Place(sprite, x, y);
        sprite.DrawImage();
    }
};

// A picture `length` long on one axis and 3 pixels across, at `position`.
struct AxisCase {
    int length;
    int position;
    std::optional<int> firstSource;  // nullopt: nothing drawn
    int drawn;                       // pixels drawn along the axis
};

TEST_F(SpriteTest, ClipsAtEveryEdgeAndNeverTouchesTheLastColumnOrRow) {
    const AxisCase horizontal[] = {
        {800, 0, 0, 799},                              // as wide as the screen: column 799 stays clear
        {10, 798, 0, 1},                               // one column left at the right edge is drawn
        {10, 799, {}, 0},                              // at the last column: nothing
        {10, -8, 8, 2},                                // two columns left at the left edge
        {10, -9, {}, 0},                               // one column left at the left edge: nothing
        {1, 0, {}, 0},        {1000, -100, 100, 799},  // overhanging both edges
        {10, INT_MAX, {}, 0}, {10, INT_MIN, {}, 0},
    };
    const AxisCase vertical[] = {
        {600, 0, 0, 599}, {10, 598, 0, 1}, {10, 599, {}, 0},
        {10, -8, 8, 2},   {10, -9, {}, 0}, {700, -50, 50, 599},
    };
    for (bool across : {true, false}) {
        for (const AxisCase& c :
             across ? std::span<const AxisCase>(horizontal) : std::span<const AxisCase>(vertical)) {
            SCOPED_TRACE(testing::Message() << (across ? "x " : "y ") << c.length << " at " << c.position);
            Sprite sprite{nullptr};
            Build(sprite, across ? CodedBitmap(c.length, 3) : CodedBitmap(3, c.length));
            device.ClearBackSurface();
            platform::headless::ClearFaults();
            DrawAt(sprite, across ? c.position : 10, across ? 10 : c.position);

            EXPECT_EQ(sprite.ErrorText(), "");
            const SurfacePixels back = Back();
            EXPECT_EQ(back.CountNonZero(), c.drawn * 3);
            EXPECT_EQ(CallCount(DisplayOp::BltFast), c.firstSource ? 1 : 0);
            if (!c.firstSource) continue;
            const int first = std::max(c.position, 0);
            const int last = first + c.drawn - 1;
            const int lastSource = *c.firstSource + c.drawn - 1;
            if (across) {
                EXPECT_EQ(back.At(first, 11), Code(*c.firstSource, 1));
                EXPECT_EQ(back.At(last, 11), Code(lastSource, 1));
            } else {
                EXPECT_EQ(back.At(11, first), Code(1, *c.firstSource));
                EXPECT_EQ(back.At(11, last), Code(1, lastSource));
            }
        }
    }
}

TEST_F(SpriteTest, DrawAniDrawsWholeBandsOfThePictureOrTheScaledPicture) {
    Sprite plain{nullptr};
    plain.SetBandHeight(11);
    Build(plain, CodedBitmap(30, 440));
    plain.SetFrame(39);  // its bottom is the picture's: the last frame
    plain.DrawFrame();
    EXPECT_EQ(plain.ErrorText(), "");
    EXPECT_EQ(Back().At(29, 10), Code(29, 439));
    EXPECT_EQ(Back().CountNonZero(), 30 * 11);
    for (int frame : {40, -1}) {
        plain.SetFrame(frame);
        plain.DrawFrame();
        EXPECT_EQ(plain.ErrorText(), "Error FNumberFrame (Ani)");
    }

    Sprite scaled{nullptr};
    scaled.SetBandHeight(11);
    scaled.SetStretching(true);
    scaled.SetStretchWidth(30);
    scaled.SetStretchHeight(220);  // frames of 11 * 220 / 440 = 5 rows
    Build(scaled, CodedBitmap(30, 440));
    scaled.SetFrame(43);
    scaled.DrawFrame();
    EXPECT_EQ(scaled.ErrorText(), "");
    EXPECT_EQ(scaled.sourceRect.top, 215);
    EXPECT_EQ(scaled.sourceRect.bottom, 220);
    scaled.SetFrame(44);
    scaled.DrawFrame();
    EXPECT_EQ(scaled.ErrorText(), "Error FNumberFrame (Ani Stretch)");

    // A scaled picture of no rows has no frames, rather than a division by zero.
    const TBitmap empty;
    scaled.SetBitmap(&empty);
    scaled.CreateSurface();
    scaled.SetFrame(0);
    scaled.DrawFrame();
    EXPECT_EQ(scaled.ErrorText(), "Error FNumberFrame (Ani Stretch)");
}

TEST_F(SpriteTest, RebuildingReleasesTheSurfaceBuiltBefore) {
    Sprite sprite{nullptr};
    Build(sprite, CodedBitmap(8, 8));
    IDirectDrawSurface7* first = sprite.surface;
    first->AddRef();
    sprite.CreateSurface();
    EXPECT_NE(sprite.surface, nullptr);
    EXPECT_EQ(first->Release(), 0u);
}

// ---------------------------------------------------------------------------
// Colour keys, at every display depth.

class SpriteKeyTest : public SpriteTest, public testing::WithParamInterface<int> {
protected:
    void SetUp() override { OpenDevice(GetParam()); }
};

TEST_P(SpriteKeyTest, KeyIsTheTopLeftColourWhereverItOccurs) {
    TBitmap picture = SolidBitmap(20, 20, 0xA03010);
    picture.Set(0, 0, 0x00FF00);
    picture.Set(5, 5, 0x00FF00);
    Sprite under{nullptr};
    Build(under, SolidBitmap(30, 30, 0x3060A0));
    Sprite keyed{nullptr};
    Build(keyed, picture);
    InjectFault(DisplayOp::Lock, DDERR_WASSTILLDRAWING, 2);
    keyed.SetTransparency(true);
    EXPECT_EQ(CallCount(DisplayOp::Lock), 3);
    EXPECT_TRUE(keyed.Transparency());

    DrawAt(under, 0, 0);
    DrawAt(keyed, 0, 0);
    SurfacePixels back = Back();
    const std::uint32_t underneath = back.At(25, 25);
    EXPECT_EQ(back.At(0, 0), underneath);
    EXPECT_EQ(back.At(5, 5), underneath);
    EXPECT_NE(back.At(6, 6), underneath);

    keyed.SetTransparency(false);
    EXPECT_EQ(keyed.bltFlags, DDBLTFAST_NOCOLORKEY);
    DrawAt(keyed, 0, 0);
    EXPECT_NE(Back().At(5, 5), underneath);
}

TEST_P(SpriteKeyTest, ColorMatchGivesTheRawValueInTheSurfaceFormat) {
    Sprite sprite{nullptr};
    Build(sprite, SolidBitmap(4, 4, 0x0000FF));
    const DWORD blue = SurfaceColorValue(sprite.surface, CLR_INVALID);
    EXPECT_EQ(blue, GetParam() == 16 ? 0x001Fu : 0x0000FFu);
    EXPECT_EQ(SurfaceColorValue(sprite.surface, RGB(255, 0, 0)), GetParam() == 16 ? 0xF800u : 0xFF0000u);
    EXPECT_EQ(SurfaceColorValue(sprite.surface, CLR_INVALID), blue) << "the top-left pixel is put back";

    InjectFault(DisplayOp::Lock, DDERR_GENERIC);
    EXPECT_EQ(SurfaceColorValue(sprite.surface, CLR_INVALID), CLR_INVALID);
}

INSTANTIATE_TEST_SUITE_P(Depths, SpriteKeyTest, testing::Values(16, 24, 32));

// ---------------------------------------------------------------------------
// Every failure text: what raises it, whether the surface goes.

struct SpriteFailure {
    const char* text;
    bool surfaceReleased;
    std::function<void(Sprite&, DisplayDevice&)> provoke;
};

TEST_F(SpriteTest, EveryFailureIsReportedWithItsText) {
    const SpriteFailure failures[] = {
        {"Error connect to DDMAIN", false,
         [](Sprite& s, DisplayDevice&) {
             s.device = nullptr;
             s.CreateSurface();
         }},
        {"Error FDD==NULL", false,
         [](Sprite& s, DisplayDevice& d) {
             d.SetEnabled(false);
             s.CreateSurface();
             d.SetEnabled(true);
         }},
        {"Error FDDBACK==NULL", false,
         [](Sprite& s, DisplayDevice& d) {
             IDirectDrawSurface7* back = std::exchange(d.backBuffer, nullptr);
             s.CreateSurface();
             d.backBuffer = back;
         }},
        {"Error FDDBACK==NULL", false,
         [](Sprite& s, DisplayDevice&) {
             s.backBuffer = nullptr;
             s.DrawImage();
         }},
        {"Error FDDBACK==NULL", false,
         [](Sprite& s, DisplayDevice&) {
             s.backBuffer = nullptr;
             s.SetTransparency(true);
         }},
        {"Error CreateSurfaceBMP", true,
         [](Sprite& s, DisplayDevice&) {
             InjectFault(DisplayOp::CreateSurface, DDERR_OUTOFMEMORY);
             s.CreateSurface();
         }},
        {"Error FpSurface->GetDC (BMP)", true,
         [](Sprite& s, DisplayDevice&) {
             InjectFault(DisplayOp::GetDC, DDERR_CANTCREATEDC);
             s.CreateSurface();
         }},
        {"Error FpSurface==NULL", true,
         [](Sprite& s, DisplayDevice&) {
             s.CloseSurface();
             s.DrawFrame();
         }},
        {"Error SetColorKey (BMP)", true,
         [](Sprite& s, DisplayDevice&) {
             InjectFault(DisplayOp::SetColorKey, DDERR_GENERIC);
             s.SetTransparency(true);
         }},
        {"Error FDDBACK->BltFast (BMP)", true,
         [](Sprite& s, DisplayDevice&) {
             InjectFault(DisplayOp::BltFast, DDERR_SURFACELOST);
             s.DrawImage();
         }},
    };
    for (const SpriteFailure& failure : failures) {
        SCOPED_TRACE(failure.text);
        Sprite sprite{nullptr};
        Build(sprite, CodedBitmap(10, 10));
        ErrorLog log;
        log.Attach(sprite);
        failure.provoke(sprite, device);
        EXPECT_EQ(sprite.ErrorText(), failure.text);
        EXPECT_EQ(log.calls, 1);
        EXPECT_EQ(log.sender, &sprite);
        if (failure.surfaceReleased) {
            EXPECT_EQ(sprite.surface, nullptr);
        }
        platform::headless::ClearFaults();
    }

    Sprite unbuilt{nullptr};
    unbuilt.SetTransparency(true);
    EXPECT_EQ(unbuilt.ErrorText(), "Error FpSurface==NULL");
    EXPECT_FALSE(unbuilt.Transparency());
}

}  // namespace
}  // namespace drawable_test
