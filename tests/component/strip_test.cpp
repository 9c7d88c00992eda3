// The animation strip on the headless display: cutting the strip into frame
// surfaces, the frame table's limit, per-frame keys, and failures that
// remove one frame only.

#include "display/AnimationStrip.h"
#include "tests/component/DrawableFixture.h"

#include <functional>
#include <utility>

namespace drawable_test {
namespace {

class StripTest : public DisplayTest {
protected:
    void Build(AnimationStrip& strip, const TBitmap& picture, int frameHeight) {
        Link(strip, picture);
        strip.SetBandHeight(frameHeight);
        strip.CreateSurface();
    }
    static void DrawFrame(AnimationStrip& strip, int frame, int x, int y) {
        strip.SetFrame(frame);
        Place(strip, x, y);
        strip.DrawFrame();
    }
    static int BuiltFrames(const AnimationStrip& strip) {
        int count = 0;
        for (IDirectDrawSurface7* surface : strip.surfaces) count += surface != nullptr;
        return count;
    }
};

TEST_F(StripTest, CutsWholeFramesAndLeavesTheRowsBelowUnused) {
    for (const auto& [frameHeight, frames] : {std::pair{11, 40}, std::pair{12, 36}}) {
        SCOPED_TRACE(frameHeight);
        AnimationStrip strip{nullptr};
        Build(strip, CodedBitmap(30, 440), frameHeight);
        EXPECT_EQ(strip.frameCount, frames);
        EXPECT_EQ(BuiltFrames(strip), frames);
        const int last = frames - 1;
        const SurfacePixels frame(strip.surfaces[std::size_t(last)]);
        ASSERT_EQ(frame.Height(), frameHeight);
        EXPECT_EQ(frame.At(0, 0), Code(0, last * frameHeight));
        EXPECT_EQ(frame.At(29, frameHeight - 1), Code(29, (last + 1) * frameHeight - 1));
    }
}

TEST_F(StripTest, FrameTableHoldsTwoHundredFrames) {
    AnimationStrip full{nullptr};
    Build(full, CodedBitmap(2, 400), 2);
    EXPECT_EQ(BuiltFrames(full), 200);
    DrawFrame(full, 199, 0, 0);
    EXPECT_EQ(Back().At(0, 0), Code(0, 398));

    AnimationStrip tooLong{nullptr};
    Build(tooLong, CodedBitmap(2, 402), 2);
    EXPECT_EQ(tooLong.ErrorText(), "TOO match sprites");
    EXPECT_EQ(BuiltFrames(tooLong), 0);
    EXPECT_EQ(CallCount(DisplayOp::CreateSurface), 200);
    tooLong.SetTransparency(true);  // nothing was cut, so nothing is keyed
    EXPECT_EQ(CallCount(DisplayOp::SetColorKey), 0);
}

TEST_F(StripTest, FramesWithoutASurfaceAreReportedNotDrawn) {
    AnimationStrip shorter{nullptr};
    ErrorLog log;
    log.Attach(shorter);
    Build(shorter, CodedBitmap(30, 10), 11);
    shorter.SetTransparency(true);
    EXPECT_EQ(shorter.frameCount, 0);
    EXPECT_FALSE(shorter.Transparency());
    EXPECT_EQ(log.calls, 0);

    AnimationStrip strip{nullptr};
    Build(strip, CodedBitmap(30, 440), 11);
    for (int frame : {40, 200, -1}) {
        SCOPED_TRACE(frame);
        strip.SetErrorText("");
        DrawFrame(strip, frame, 0, 0);
        EXPECT_EQ(strip.ErrorText(), "Error FpSurface==NULL");
    }
    DrawFrame(shorter, 0, 0, 0);
    EXPECT_EQ(shorter.ErrorText(), "Error FpSurface==NULL");
    EXPECT_EQ(CallCount(DisplayOp::BltFast), 0);
}

TEST_F(StripTest, StretchingScalesEveryFrameToTheGivenSize) {
    AnimationStrip strip{nullptr};
    strip.SetStretching(true);
    strip.SetStretchWidth(18);
    strip.SetStretchHeight(6);
    Build(strip, CodedBitmap(30, 440), 11);
    ASSERT_EQ(BuiltFrames(strip), 40);
    const SurfacePixels last(strip.surfaces[39]);
    EXPECT_EQ(last.Width(), 18);
    EXPECT_EQ(last.Height(), 6);
    DrawFrame(strip, 3, 100, 100);
    EXPECT_EQ(Back().CountNonZero(), 18 * 6);
    EXPECT_EQ(Back().At(100, 100), Code(0, 33));
}

TEST_F(StripTest, RebuildingReleasesEveryFrameBuiltBefore) {
    AnimationStrip strip{nullptr};
    Build(strip, CodedBitmap(30, 440), 11);
    IDirectDrawSurface7* last = strip.surfaces[39];
    last->AddRef();
    Build(strip, CodedBitmap(30, 440), 22);
    EXPECT_EQ(BuiltFrames(strip), 20);
    EXPECT_EQ(last->Release(), 0u);
}

TEST_F(StripTest, EachFrameIsKeyedWithItsOwnTopLeftColour) {
    constexpr std::uint32_t kA = 0x00FF00;
    constexpr std::uint32_t kB = 0x0000FF;
    TBitmap picture = SolidBitmap(10, 20, 0x808080);
    picture.Set(0, 0, kA);  // frame 0: keyed with A, B inside is drawn
    picture.Set(4, 4, kB);
    picture.Set(0, 10, kB);  // frame 1: keyed with B, A inside is drawn
    picture.Set(4, 14, kA);
    AnimationStrip under{nullptr};
    Build(under, SolidBitmap(30, 30, 0x3060A0), 30);
    AnimationStrip strip{nullptr};
    Build(strip, picture, 10);
    strip.SetTransparency(true);

    for (int frame : {0, 1}) {
        SCOPED_TRACE(frame);
        DrawFrame(under, 0, 0, 0);
        DrawFrame(strip, frame, 0, 0);
        const SurfacePixels back = Back();
        EXPECT_EQ(back.At(0, 0), back.At(20, 20));
        EXPECT_NE(back.At(4, 4), back.At(20, 20));
    }
}

// ---------------------------------------------------------------------------
// Blits: waiting while busy, and a failure that removes one frame.

TEST_F(StripTest, FailedBlitRemovesThatFrameOnlyAndABusyBlitIsRetried) {
    AnimationStrip strip{nullptr};
    Build(strip, CodedBitmap(30, 440), 11);
    platform::headless::ClearFaults();
    InjectFault(DisplayOp::BltFast, DDERR_WASSTILLDRAWING, 5);
    DrawFrame(strip, 2, 0, 0);
    EXPECT_EQ(CallCount(DisplayOp::BltFast), 6);
    EXPECT_EQ(Back().At(0, 0), Code(0, 22));
    EXPECT_EQ(strip.ErrorText(), "");

    InjectFault(DisplayOp::BltFast, DDERR_SURFACELOST);
    DrawFrame(strip, 3, 0, 0);
    EXPECT_EQ(strip.ErrorText(), "Error FDDBACK->BltFast (ANI)");
    EXPECT_EQ(strip.surfaces[3], nullptr);
    EXPECT_EQ(BuiltFrames(strip), 39);
    DrawFrame(strip, 4, 0, 0);
    EXPECT_EQ(Back().At(0, 0), Code(0, 44));
}

struct StripFailure {
    const char* text;
    int framesLeft;  // of the 40 of a 30x440 strip with frames of 11 rows
    std::function<void(AnimationStrip&, DisplayDevice&)> provoke;
};

TEST_F(StripTest, EveryFailureIsReportedWithItsText) {
    const StripFailure failures[] = {
        {"Error connect to DDMAIN", 0,
         [](AnimationStrip& s, DisplayDevice&) {
             s.device = nullptr;
             s.CreateSurface();
         }},
        {"Error FDD==NULL", 0,
         [](AnimationStrip& s, DisplayDevice& d) {
             d.SetEnabled(false);
             s.CreateSurface();
             d.SetEnabled(true);
         }},
        {"Error FDDBACK==NULL", 0,
         [](AnimationStrip& s, DisplayDevice& d) {
             IDirectDrawSurface7* back = std::exchange(d.backBuffer, nullptr);
             s.CreateSurface();
             d.backBuffer = back;
         }},
        {"Error FDDBACK==NULL", 40,
         [](AnimationStrip& s, DisplayDevice&) {
             s.backBuffer = nullptr;
             s.DrawFrame();
         }},
        {"Not defined FYOffsetFrame", 0,
         [](AnimationStrip& s, DisplayDevice&) {
             s.SetBandHeight(0);
             s.CreateSurface();
         }},
        {"Not defined FYOffsetFrame", 0,
         [](AnimationStrip& s, DisplayDevice&) {
             s.SetBandHeight(-11);
             s.CreateSurface();
         }},
        {"TOO match sprites", 0,
         [](AnimationStrip& s, DisplayDevice&) {
             s.SetBandHeight(2);
             s.CreateSurface();
         }},
        {"Error CreateSurfaceANI", 39,
         [](AnimationStrip& s, DisplayDevice&) {
             InjectFault(DisplayOp::CreateSurface, DDERR_OUTOFMEMORY);
             s.CreateSurface();
         }},
        {"Error FpSurface->GetDC (ANI)", 39,
         [](AnimationStrip& s, DisplayDevice&) {
             InjectFault(DisplayOp::GetDC, DDERR_CANTCREATEDC);
             s.CreateSurface();
         }},
        {"Error FpSurface==NULL", 40,
         [](AnimationStrip& s, DisplayDevice&) {
             s.SetFrame(40);
             s.DrawFrame();
         }},
        {"Error SetColorKey (ANI)", 39,
         [](AnimationStrip& s, DisplayDevice&) {
             InjectFault(DisplayOp::SetColorKey, DDERR_GENERIC);
             s.SetTransparency(true);
         }},
        {"Error FDDBACK->BltFast (ANI)", 39,
         [](AnimationStrip& s, DisplayDevice&) {
             InjectFault(DisplayOp::BltFast, DDERR_INVALIDRECT);
             s.DrawFrame();
         }},
    };
    for (const StripFailure& failure : failures) {
        SCOPED_TRACE(failure.text);
        AnimationStrip strip{nullptr};
        Build(strip, CodedBitmap(30, 440), 11);
        ErrorLog log;
        log.Attach(strip);
        failure.provoke(strip, device);
        EXPECT_EQ(strip.ErrorText(), failure.text);
        EXPECT_EQ(log.calls, 1);
        EXPECT_EQ(log.sender, &strip);
        EXPECT_EQ(BuiltFrames(strip), failure.framesLeft);
        platform::headless::ClearFaults();
    }
}

}  // namespace
}  // namespace drawable_test
