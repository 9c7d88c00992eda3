// The display components on the system's DirectDraw: the device takes the
// screen in its own mode with a flip chain, a sprite draws keyed into the
// back buffer, the gamma component sets the display's own ramp, and the
// device puts the identity ramp back when it closes.
#include "display/DisplayDevice.h"
#include "display/GammaRamp.h"
#include "display/Sprite.h"
#include "platform/forms/Forms.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

class Win32Display : public ::testing::Test {
protected:
    void SetUp() override {
        form_ = application_.CreateForm<TForm>();
        device_ = std::make_unique<DisplayDevice>(form_);
        device_->OnError = [this](TObject*) { errors_.push_back(device_->ErrorText()); };
        // Wine's DirectDraw keeps the screen's own mode.
        device_->SetWidth(GetSystemMetrics(SM_CXSCREEN));
        device_->SetHeight(GetSystemMetrics(SM_CYSCREEN));
        device_->SetColorDepth(32);
        device_->SetEnabled(true);
        ASSERT_TRUE(errors_.empty()) << errors_.front();
    }
    void TearDown() override { device_->SetEnabled(false); }

    // The back buffer's pixel at (x, y), read through Lock.
    DWORD BackPixel(int x, int y) {
        DDSURFACEDESC2 desc{};
        desc.dwSize = sizeof desc;
        if (FAILED(device_->backBuffer->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr))) return 0xDEADBEEF;
        DWORD pixel = 0;
        std::memcpy(&pixel, static_cast<const BYTE*>(desc.lpSurface) + y * desc.lPitch + x * 4, 4);
        device_->backBuffer->Unlock(nullptr);
        return pixel & 0x00FFFFFF;
    }

    TApplication application_;
    TForm* form_ = nullptr;
    std::unique_ptr<DisplayDevice> device_;
    std::vector<std::string> errors_;
};

TEST_F(Win32Display, TheDeviceTakesTheScreenWithAFlipChain) {
    ASSERT_NE(device_->primary, nullptr);
    ASSERT_NE(device_->backBuffer, nullptr);
    DDSURFACEDESC2 desc{};
    desc.dwSize = sizeof desc;
    ASSERT_EQ(device_->backBuffer->GetSurfaceDesc(&desc), DD_OK);
    EXPECT_EQ(int(desc.dwWidth), GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(int(desc.dwHeight), GetSystemMetrics(SM_CYSCREEN));
    EXPECT_EQ(desc.ddpfPixelFormat.dwRGBBitCount, 32u);
    for (int frame = 0; frame < 3; ++frame) {
        device_->ClearBackSurface();
        device_->FlipSurfaces();
    }
    EXPECT_TRUE(errors_.empty());
    EXPECT_EQ(BackPixel(5, 5), 0u);
}

TEST_F(Win32Display, ASpriteDrawsIntoTheBackBufferWithoutItsKeyColour) {
    TBitmap picture(4, 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) picture.Set(x, y, x == 0 ? 0xFF00FF : 0xFF0000);
    Sprite sprite(form_);
    sprite.device = device_.get();
    sprite.SetBitmap(&picture);
    sprite.CreateSurface();
    sprite.SetTransparency(true);
    sprite.SetX(10);
    sprite.SetY(20);
    device_->ClearBackSurface();
    sprite.DrawImage();
    EXPECT_TRUE(sprite.ErrorText().empty()) << sprite.ErrorText();
    EXPECT_EQ(BackPixel(10, 20), 0u) << "the key colour is left out";
    EXPECT_EQ(BackPixel(11, 21), 0xFF0000u);
    EXPECT_EQ(BackPixel(14, 20), 0u) << "nothing beyond the picture";
    sprite.CloseSurface();
}

TEST_F(Win32Display, TheGammaRampIsTheDisplaysAndIdentityAgainOnceTheDeviceCloses) {
    GammaRamp gamma(form_);
    gamma.device = device_.get();
    gamma.SetEnabled(true);
    if (!gamma.Enabled()) GTEST_SKIP() << "this display has no gamma ramp";
    gamma.SetChannelLevels(40, 50, 70);
    EXPECT_TRUE(gamma.ErrorText().empty()) << gamma.ErrorText();

    IDirectDrawGammaControl* control = nullptr;
    ASSERT_EQ(
        device_->primary->QueryInterface(IID_IDirectDrawGammaControl, reinterpret_cast<void**>(&control)),
        DD_OK);
    DDGAMMARAMP ramp{};
    const bool kept = SUCCEEDED(control->GetGammaRamp(0, &ramp)) && ramp.red[255] != 0;
    gamma.SetEnabled(false);
    if (!kept) {
        control->Release();
        // Wine on a virtual X server accepts ramps and keeps none.
        GTEST_SKIP() << "this display accepts gamma ramps but does not keep them";
    }
    EXPECT_EQ(ramp.red[1], 40);
    EXPECT_EQ(ramp.green[1], 50);
    EXPECT_EQ(ramp.blue[255], 70 * 255);

    // The closing puts the identity ramp back through the primary's own
    // control, just before the primary goes.
    ramp = {};
    device_->SetEnabled(false);
    ASSERT_EQ(control->GetGammaRamp(0, &ramp), DD_OK);
    EXPECT_EQ(ramp.red[1], 256);
    EXPECT_EQ(ramp.blue[255], 256 * 255);
    control->Release();
}

}  // namespace
