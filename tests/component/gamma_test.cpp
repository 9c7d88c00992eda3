#include "display/DisplayDevice.h"
#include "display/GammaRamp.h"
#include "platform/backends/headless/Headless.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

using platform::headless::DisplayOp;
using platform::headless::InjectFault;

namespace {

class GammaComponent : public ::testing::Test {
protected:
    void SetUp() override {
        platform::headless::ClearFaults();
        Install(true);
    }
    void TearDown() override {
        gamma.SetEnabled(false);
        device.SetEnabled(false);
        platform::headless::ClearFaults();
    }
    void Install(bool gammaSupported) {
        platform::headless::Install({{1024, 768, 32}, 1, gammaSupported});
        gamma.device = &device;
        gamma.OnError = [this](TObject* sender) {
            EXPECT_EQ(sender, &gamma);
            reports.push_back(gamma.ErrorText());
        };
    }
    void Open() {
        device.SetWidth(800);
        device.SetHeight(600);
        device.SetColorDepth(32);
        device.SetEnabled(true);
    }
    // The ramp the back end applies to what it presents.
    DDGAMMARAMP PresentedRamp() {
        IDirectDrawGammaControl* control = nullptr;
        DDGAMMARAMP ramp{};
        if (device.primary->QueryInterface(IID_IDirectDrawGammaControl, reinterpret_cast<void**>(&control)) ==
            DD_OK) {
            control->GetGammaRamp(0, &ramp);
            control->Release();
        }
        return ramp;
    }

    TForm owner{nullptr};
    DisplayDevice device{&owner};
    GammaRamp gamma{&owner};
    std::vector<std::string> reports;
};

}  // namespace

TEST_F(GammaComponent, EnablingNeedsAnOpenDevice) {
    GammaRamp unlinked{&owner};
    unlinked.OnError = [&](TObject*) { reports.push_back(unlinked.ErrorText()); };
    unlinked.SetEnabled(true);
    gamma.SetEnabled(true);
    EXPECT_EQ(reports, (std::vector<std::string>{"Error connect to DDMAIN", "Error FpDD==NULL"}));
    EXPECT_FALSE(unlinked.Enabled());
    EXPECT_FALSE(gamma.Enabled());

    // A device object without a primary surface.
    IDirectDraw* directDraw = nullptr;
    ASSERT_EQ(DirectDrawCreate(nullptr, &directDraw, nullptr), DD_OK);
    device.directDraw = directDraw;
    gamma.SetEnabled(true);
    device.directDraw = nullptr;
    directDraw->Release();
    EXPECT_EQ(reports.back(), "Error FpDDSPrimary==NULL");
    EXPECT_FALSE(gamma.Enabled());
}

TEST_F(GammaComponent, StepsWriteTheRampOnlyWhileEnabled) {
    Open();
    gamma.SetLevel(128);  // stored, not written
    EXPECT_EQ(PresentedRamp().green[255], 256 * 255);
    gamma.SetEnabled(true);
    gamma.SetEnabled(true);
    EXPECT_EQ(platform::headless::CallCount(DisplayOp::GetCaps), 1);
    EXPECT_EQ(PresentedRamp().green[255], 256 * 255);  // enabling writes nothing
    gamma.SetChannelLevels(256, 128, 0);
    EXPECT_EQ(PresentedRamp().red[255], 256 * 255);
    EXPECT_EQ(PresentedRamp().green[255], 32640);
    EXPECT_EQ(PresentedRamp().blue[255], 0);
    EXPECT_EQ(gamma.Level(), 128);
    gamma.SetEnabled(false);
    gamma.SetLevel(64);
    EXPECT_EQ(PresentedRamp().green[255], 32640);  // the last ramp stays in force
    EXPECT_TRUE(reports.empty());
}

TEST_F(GammaComponent, RampFailuresAreReportedAndTheStepKept) {
    Open();
    gamma.SetEnabled(true);
    InjectFault(DisplayOp::GetGammaRamp, DDERR_GENERIC);
    gamma.SetLevel(100);
    EXPECT_EQ(reports, std::vector<std::string>{"Cannot GetGammaRamp"});
    EXPECT_EQ(PresentedRamp().red[1], 100);  // written all the same

    InjectFault(DisplayOp::SetGammaRamp, DDERR_GENERIC);
    gamma.SetLevel(50);
    EXPECT_EQ(reports.back(), "Cannot SetGammaRamp");
    EXPECT_EQ(gamma.Level(), 50);
    EXPECT_EQ(PresentedRamp().red[1], 100);
    EXPECT_TRUE(gamma.Enabled());
}

TEST_F(GammaComponent, WithoutGammaSupportEnablingFailsSilently) {
    Install(false);
    Open();
    gamma.SetEnabled(true);
    EXPECT_FALSE(gamma.Enabled());
    EXPECT_TRUE(reports.empty());
    EXPECT_TRUE(gamma.ErrorText().empty());
}

// The lighting enables the gamma component on the timer's thread while a
// display failure closes the device on the window's: the component must
// never reach into a device being released.
TEST_F(GammaComponent, EnablingConcurrentlyWithAClosingDeviceIsSafe) {
    Install(false);  // every enabling asks the device again
    for (int round = 0; round < 200; ++round) {
        Open();
        std::atomic<bool> closed{false};
        std::thread lighting([&] {
            do {
                gamma.SetEnabled(true);
                gamma.SetEnabled(false);
            } while (!closed.load());
        });
        device.CloseDirectDraw();
        closed = true;
        lighting.join();
        device.SetEnabled(false);
    }
    EXPECT_FALSE(gamma.Enabled());
}
