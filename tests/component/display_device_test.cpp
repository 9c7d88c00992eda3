#include "display/DisplayDevice.h"
#include "platform/backends/headless/Headless.h"
#include "platform/winapi/MMSystem.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

using platform::headless::DisplayOp;
using platform::headless::InjectFault;

namespace {

class DisplayDeviceTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform::headless::Install({{1024, 768, 32}, 1, true});
        device.OnError = [this](TObject* sender) {
            EXPECT_EQ(sender, &device);
            reports.push_back(device.ErrorText());
            closedWhenReported.push_back(device.directDraw == nullptr);
        };
    }
    void TearDown() override {
        device.SetEnabled(false);
        platform::headless::ClearFaults();
        platform::headless::SetTickClock({});
    }
    void Open(int width = 800, int height = 600, int depth = 32) {
        device.SetWidth(width);
        device.SetHeight(height);
        device.SetColorDepth(depth);
        device.SetEnabled(true);
    }

    TForm owner{nullptr};
    DisplayDevice device{&owner};
    std::vector<std::string> reports;
    std::vector<bool> closedWhenReported;
};

}  // namespace

TEST_F(DisplayDeviceTest, OpensTheModeAndPresentsEachFlip) {
    Open();
    ASSERT_TRUE(reports.empty());
    ASSERT_NE(device.backBuffer, nullptr);
    const int before = platform::headless::PresentedFrameCount();
    device.ClearBackSurface();
    device.FlipSurfaces();
    EXPECT_EQ(platform::headless::PresentedFrameCount(), before + 1);
    const auto frame = platform::headless::LastPresentedFrame();
    ASSERT_TRUE(frame);
    EXPECT_EQ(frame->Width(), 800);
    EXPECT_EQ(frame->Height(), 600);
    EXPECT_EQ(frame->At(400, 300), 0u);
}

TEST_F(DisplayDeviceTest, EveryOpeningFailureIsReportedWithTheDeviceClosed) {
    const std::vector<std::pair<DisplayOp, std::string>> cases = {
        {DisplayOp::DirectDrawCreate, "Error DirectDrawCreate"},
        {DisplayOp::QueryInterface, "Error DirectDrawCreate7"},
        {DisplayOp::SetCooperativeLevel, "Error SetCooperativeLevel"},
        {DisplayOp::SetDisplayMode, "Error SetDisplayMode"},
        {DisplayOp::CreateSurface, "Error CreatePrimarySurface"},
        {DisplayOp::GetAttachedSurface, "Error CreateBackSurface"},
    };
    for (const auto& [op, text] : cases) {
        reports.clear();
        closedWhenReported.clear();
        InjectFault(op, DDERR_GENERIC);
        Open();
        ASSERT_EQ(reports, std::vector<std::string>{text});
        EXPECT_TRUE(closedWhenReported[0]) << text;
        EXPECT_TRUE(device.Enabled());
        device.SetEnabled(true);  // no second attempt
        EXPECT_EQ(reports.size(), 1u);
        device.SetEnabled(false);
        platform::headless::ClearFaults();
    }
}

TEST_F(DisplayDeviceTest, RefusesAModeTheScreenDoesNotOffer) {
    Open(1000, 700, 32);
    EXPECT_EQ(reports, std::vector<std::string>{"Error SetDisplayMode"});
    EXPECT_EQ(device.directDraw, nullptr);
}

TEST_F(DisplayDeviceTest, ClosedDeviceReportsEachUse) {
    device.ClearBackSurface();
    device.FlipSurfaces();
    device.CloseDirectDraw();
    device.CloseDirectDraw();
    EXPECT_EQ(reports, (std::vector<std::string>{"Error FpDD==NULL", "Error FpDD==NULL"}));
    EXPECT_FALSE(device.RestoreSurfaces());
    EXPECT_EQ(reports.back(), "Error FpDD==NULL (MakeRestSurface)");
}

TEST_F(DisplayDeviceTest, DualMonitorPaths) {
    device.SetDualMonitor(true);
    Open();
    EXPECT_EQ(reports, std::vector<std::string>{"This program work only in dual monitor system!"});
    EXPECT_EQ(platform::headless::CallCount(DisplayOp::DirectDrawCreate), 0);
    device.SetEnabled(false);

    platform::headless::Install({{1024, 768, 32}, 2, true});
    reports.clear();
    Open();
    EXPECT_TRUE(reports.empty());
    EXPECT_NE(device.directDraw, nullptr);
    device.SetEnabled(false);

    InjectFault(DisplayOp::DirectDrawEnumerateEx, E_FAIL);
    Open();
    EXPECT_EQ(reports, std::vector<std::string>{"ERROR EnumerateScreens"});
    EXPECT_NE(device.directDraw, nullptr);  // the opening goes on
    device.SetEnabled(false);

    reports.clear();
    InjectFault(DisplayOp::DirectDrawCreate, DDERR_GENERIC);
    Open();
    EXPECT_EQ(reports, std::vector<std::string>{"Error DirectDrawCreate on secondary monitor"});
    EXPECT_TRUE(closedWhenReported.back());
}

TEST_F(DisplayDeviceTest, FrameRateIsComputedPerTenFramesAndTruncated) {
    DWORD now = 0;
    platform::headless::SetTickClock([&] { return now; });
    device.SetShowFrameRate(true);
    Open();
    // Twenty frames hold one whole batch of ten, whatever an earlier batch left.
    auto frames = [&](DWORD millisecondsEach) {
        for (int i = 0; i < 20; ++i) {
            now += millisecondsEach;
            device.FlipSurfaces();
        }
        return device.FrameRate();
    };
    EXPECT_EQ(frames(25), 40);
    EXPECT_EQ(frames(30), 33);
    EXPECT_TRUE(reports.empty());
}

TEST_F(DisplayDeviceTest, TextLinesAreDrawnInWhite) {
    Open();
    device.ShowTextLine(0, true);
    device.SetTextLine(0, "Demo Time: 12:0AM");
    device.ClearBackSurface();
    device.FlipSurfaces();
    const auto frame = platform::headless::LastPresentedFrame();
    ASSERT_TRUE(frame);
    int white = 0;
    for (int y = 20; y < 40; ++y)
        for (int x = 20; x < 200; ++x) white += frame->At(x, y) == 0xFFFFFF;
    EXPECT_GT(white, 20);
    // An empty text draws nothing and reports nothing.
    device.SetTextLine(0, "");
    device.ClearBackSurface();
    device.FlipSurfaces();
    EXPECT_EQ(platform::headless::LastPresentedFrame()->At(25, 30), 0u);
    EXPECT_TRUE(reports.empty());
}

TEST_F(DisplayDeviceTest, FailedDeviceContextClosesTheDeviceAndStopsTheFrame) {
    Open();
    device.SetShowFrameRate(true);
    const int before = platform::headless::PresentedFrameCount();
    InjectFault(DisplayOp::GetDC, DDERR_GENERIC);
    device.FlipSurfaces();
    EXPECT_EQ(reports, std::vector<std::string>{"Error FpDDSBack->GetDC (show FPS)"});
    EXPECT_TRUE(closedWhenReported[0]);
    EXPECT_EQ(platform::headless::PresentedFrameCount(), before);
    device.FlipSurfaces();
    EXPECT_EQ(reports.back(), "Error FpDD==NULL");
}

TEST_F(DisplayDeviceTest, FailedDeviceContextOfATestLineClosesTheDevice) {
    Open();
    device.ShowTextLine(1, true);
    device.SetTextLine(1, "Sunrise at: 5:07AM");
    device.ShowTextLine(2, true);
    device.SetTextLine(2, "Sunset at: 9:52PM");
    const int before = platform::headless::PresentedFrameCount();
    const int contexts = platform::headless::CallCount(DisplayOp::GetDC);
    InjectFault(DisplayOp::GetDC, DDERR_GENERIC);
    device.FlipSurfaces();
    EXPECT_EQ(reports, std::vector<std::string>{"Error FpDDSBack->GetDC (show TST)"});
    EXPECT_TRUE(closedWhenReported[0]);
    EXPECT_EQ(platform::headless::PresentedFrameCount(), before);
    EXPECT_EQ(platform::headless::CallCount(DisplayOp::GetDC), contexts + 1);  // no further line
}

TEST_F(DisplayDeviceTest, LostSurfacesAreRestored) {
    Open();
    platform::LoseAllSurfaces();
    device.ClearBackSurface();
    EXPECT_TRUE(reports.empty());
    EXPECT_EQ(device.backBuffer->IsLost(), DD_OK);

    // A flip that finds the surfaces lost drops that frame only.
    const int before = platform::headless::PresentedFrameCount();
    InjectFault(DisplayOp::Flip, DDERR_SURFACELOST);
    device.FlipSurfaces();
    EXPECT_EQ(platform::headless::PresentedFrameCount(), before);
    device.FlipSurfaces();
    EXPECT_EQ(platform::headless::PresentedFrameCount(), before + 1);
    EXPECT_TRUE(reports.empty());
}

TEST_F(DisplayDeviceTest, FailedRestoreReportsTheCodeThenTheClearing) {
    Open();
    platform::LoseAllSurfaces();
    InjectFault(DisplayOp::RestoreAllSurfaces, DDERR_GENERIC);
    InjectFault(DisplayOp::Restore, DDERR_WRONGMODE);
    device.ClearBackSurface();
    EXPECT_EQ(reports, (std::vector<std::string>{"Error Primary DDERR_WRONGMODE (MakeRestSurface)",
                                                 "Cannot RestoreAllSurfaces"}));
    EXPECT_EQ(device.ErrorText(), "Cannot RestoreAllSurfaces");

    reports.clear();
    InjectFault(DisplayOp::IsLost, DDERR_GENERIC);
    device.ClearBackSurface();
    EXPECT_EQ(reports, std::vector<std::string>{"Unrecognized ERROR ClearBackSurface"});
}

TEST_F(DisplayDeviceTest, EachRefusedRestoreNamesItsCodeAndSurface) {
    // The primary is restored first, the back buffer second.
    struct Refusal {
        HRESULT code;
        const char* primary;
        const char* backBuffer;
    };
    const Refusal refusals[] = {
        {DDERR_GENERIC, "Error Primary DDERR_GENERIC (MakeRestSurface)",
         "Error FpDDSBack DDERR_GENERIC (MakeRestSurface)"},
        {DDERR_IMPLICITLYCREATED, "Error Primary DDERR_IMPLICITLYCREATED (MakeRestSurface)",
         "Error FpDDSBack DDERR_IMPLICITLYCREATED (MakeRestSurface)"},
        {DDERR_INCOMPATIBLEPRIMARY, "Error Primary DDERR_INCOMPATIBLEPRIMARY (MakeRestSurface)",
         "Error FpDDSBack DDERR_INCOMPATIBLEPRIMARY (MakeRestSurface)"},
        {DDERR_INVALIDOBJECT, "Error Primary DDERR_INVALIDOBJECT (MakeRestSurface)",
         "Error FpDDSBack DDERR_INVALIDOBJECT (MakeRestSurface)"},
        {DDERR_INVALIDPARAMS, "Error Primary DDERR_INVALIDPARAMS (MakeRestSurface)",
         "Error FpDDSBack DDERR_INVALIDPARAMS (MakeRestSurface)"},
        {DDERR_NOEXCLUSIVEMODE, "Error Primary DDERR_NOEXCLUSIVEMODE (MakeRestSurface)",
         "Error FpDDSBack DDERR_NOEXCLUSIVEMODE (MakeRestSurface)"},
        {DDERR_OUTOFMEMORY, "Error Primary DDERR_OUTOFMEMORY (MakeRestSurface)",
         "Error FpDDSBack DDERR_OUTOFMEMORY (MakeRestSurface)"},
        {DDERR_UNSUPPORTED, "Error Primary DDERR_UNSUPPORTED (MakeRestSurface)",
         "Error FpDDSBack DDERR_UNSUPPORTED (MakeRestSurface)"},
        {DDERR_WRONGMODE, "Error Primary DDERR_WRONGMODE (MakeRestSurface)",
         "Error FpDDSBack DDERR_WRONGMODE (MakeRestSurface)"},
    };
    Open();
    for (const Refusal& refusal : refusals) {
        for (const auto& [skip, text] : {std::pair{0, refusal.primary}, std::pair{1, refusal.backBuffer}}) {
            reports.clear();
            InjectFault(DisplayOp::RestoreAllSurfaces, DDERR_GENERIC);
            InjectFault(DisplayOp::Restore, refusal.code, 1, skip);
            EXPECT_FALSE(device.RestoreSurfaces());
            EXPECT_EQ(reports, std::vector<std::string>{text});
        }
    }
    // Any other answer counts as restored.
    reports.clear();
    InjectFault(DisplayOp::RestoreAllSurfaces, DDERR_GENERIC);
    InjectFault(DisplayOp::Restore, DDERR_SURFACELOST, 2);
    EXPECT_TRUE(device.RestoreSurfaces());
    EXPECT_TRUE(reports.empty());
}
