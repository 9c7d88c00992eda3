// A display device open on a fresh headless back end, with read-back of
// the back buffer and of surfaces, for the sprite and strip tests.
#pragma once

#include "display/DisplayComponent.h"
#include "display/DisplayDevice.h"
#include "display/Drawable.h"
#include "platform/backends/headless/Headless.h"
#include "platform/forms/Bitmap.h"
#include "platform/forms/Forms.h"
#include "platform/winapi/DirectDraw.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace drawable_test {

using platform::headless::CallCount;
using platform::headless::DisplayOp;
using platform::headless::InjectFault;

constexpr int kWidth = 800;
constexpr int kHeight = 600;

// A picture pixel that tells where it came from: never 0, the clear colour.
constexpr std::uint32_t Code(int x, int y) { return (std::uint32_t(x + 1) << 12) | std::uint32_t(y + 1); }

inline TBitmap CodedBitmap(int width, int height) {
    TBitmap bitmap(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) bitmap.Set(x, y, Code(x, y));
    return bitmap;
}

inline TBitmap SolidBitmap(int width, int height, std::uint32_t rgb) {
    TBitmap bitmap(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) bitmap.Set(x, y, rgb);
    return bitmap;
}

// Raw pixel values of a surface, row by row, read through Lock.
class SurfacePixels {
public:
    explicit SurfacePixels(IDirectDrawSurface7* surface) {
        DDSURFACEDESC2 desc{};
        desc.dwSize = sizeof desc;
        if (FAILED(surface->Lock(nullptr, &desc, 0, nullptr))) {
            ADD_FAILURE() << "surface cannot be locked";
            return;
        }
        width_ = int(desc.dwWidth);
        height_ = int(desc.dwHeight);
        const int bytes = int(desc.ddpfPixelFormat.dwRGBBitCount) / 8;
        values_.resize(std::size_t(width_) * height_);
        for (int y = 0; y < height_; ++y)
            for (int x = 0; x < width_; ++x) {
                std::uint32_t value = 0;
                std::memcpy(&value,
                            static_cast<const std::uint8_t*>(desc.lpSurface) +
                                std::ptrdiff_t(y) * desc.lPitch + x * bytes,
                            std::size_t(bytes));
                values_[std::size_t(y) * width_ + x] = value;
            }
        surface->Unlock(nullptr);
    }
    int Width() const { return width_; }
    int Height() const { return height_; }
    std::uint32_t At(int x, int y) const { return values_[std::size_t(y) * width_ + x]; }
    int CountNonZero() const {
        int count = 0;
        for (std::uint32_t value : values_) count += value != 0;
        return count;
    }

private:
    int width_ = 0;
    int height_ = 0;
    std::vector<std::uint32_t> values_;
};

// Counts a component's error reports.
struct ErrorLog {
    int calls = 0;
    TObject* sender = nullptr;
    void Attach(DisplayComponent& component) {
        component.OnError = [this](TObject* from) {
            ++calls;
            sender = from;
        };
    }
};

class DisplayTest : public ::testing::Test {
protected:
    void OpenDevice(int depth) {
        platform::headless::Install();
        device.SetWidth(kWidth);
        device.SetHeight(kHeight);
        device.SetColorDepth(depth);
        device.SetEnabled(true);
        ASSERT_NE(device.backBuffer, nullptr) << device.ErrorText();
        device.ClearBackSurface();
        platform::headless::ClearFaults();
    }
    void SetUp() override { OpenDevice(32); }
    void TearDown() override { device.SetEnabled(false); }

    SurfacePixels Back() { return SurfacePixels(device.backBuffer); }

    void Link(Drawable& drawable, const TBitmap& picture) {
        drawable.device = &device;
        drawable.SetBitmap(&picture);
    }
    static void Place(Drawable& drawable, int x, int y) {
        drawable.SetX(x);
        drawable.SetY(y);
    }

    TForm owner{nullptr};
    DisplayDevice device{&owner};
};

}  // namespace drawable_test
