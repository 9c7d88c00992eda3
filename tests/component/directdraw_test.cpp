// The platform's software display device on the headless back end.
#include "platform/winapi/DirectDraw.h"

#include "platform/backends/headless/Headless.h"
#include "platform/seam/Backend.h"
#include "platform/winapi/Gdi.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <optional>
#include <random>
#include <thread>
#include <vector>

namespace {

namespace headless = platform::headless;
using headless::DisplayOp;

struct Releaser {
    void operator()(IUnknown* object) const { object->Release(); }
};
template <class T>
using Owned = std::unique_ptr<T, Releaser>;

DDSURFACEDESC2 OffScreenDesc(DWORD width, DWORD height) {
    DDSURFACEDESC2 desc{};
    desc.dwSize = sizeof(desc);
    desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
    desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN;
    desc.dwWidth = width;
    desc.dwHeight = height;
    return desc;
}

DDSURFACEDESC2 FlipChainDesc() {
    DDSURFACEDESC2 desc{};
    desc.dwSize = sizeof(desc);
    desc.dwFlags = DDSD_CAPS | DDSD_BACKBUFFERCOUNT;
    desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX;
    desc.dwBackBufferCount = 1;
    return desc;
}

constexpr DWORD kFullScreen = DDSCL_FULLSCREEN | DDSCL_EXCLUSIVE | DDSCL_ALLOWREBOOT | DDSCL_ALLOWMODEX;

std::uint32_t Mask(int bitsPerPixel) { return bitsPerPixel == 32 ? 0xFFFFFFFFu : (1u << bitsPerPixel) - 1; }

// Raw pixel values of a whole surface, read through Lock.
struct Pixels {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> values;
    std::uint32_t& at(int x, int y) { return values[std::size_t(y) * width + x]; }
    friend bool operator==(const Pixels&, const Pixels&) = default;
};

Pixels Read(IDirectDrawSurface7* surface) {
    DDSURFACEDESC2 desc{};
    desc.dwSize = sizeof(desc);
    EXPECT_EQ(surface->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr), DD_OK);
    Pixels out{int(desc.dwWidth), int(desc.dwHeight), {}};
    const int bytes = int(desc.ddpfPixelFormat.dwRGBBitCount / 8);
    const auto* base = static_cast<const std::uint8_t*>(desc.lpSurface);
    for (int y = 0; y < out.height; ++y) {
        for (int x = 0; x < out.width; ++x) {
            std::uint32_t value = 0;
            std::memcpy(&value, base + y * desc.lPitch + x * bytes, bytes);
            out.values.push_back(value);
        }
    }
    surface->Unlock(nullptr);
    return out;
}

void Write(IDirectDrawSurface7* surface, const Pixels& pixels) {
    DDSURFACEDESC2 desc{};
    desc.dwSize = sizeof(desc);
    ASSERT_EQ(surface->Lock(nullptr, &desc, 0, nullptr), DD_OK);
    const int bytes = int(desc.ddpfPixelFormat.dwRGBBitCount / 8);
    auto* base = static_cast<std::uint8_t*>(desc.lpSurface);
    for (int y = 0; y < pixels.height; ++y) {
        for (int x = 0; x < pixels.width; ++x) {
            std::memcpy(base + y * desc.lPitch + x * bytes, &pixels.values[std::size_t(y) * pixels.width + x],
                        bytes);
        }
    }
    surface->Unlock(nullptr);
}

// Random pixels of which about one in `keyEvery` is the key, in runs.
Pixels RandomPixels(int width, int height, int bitsPerPixel, std::uint32_t key, unsigned seed) {
    std::mt19937 random(seed);
    Pixels out{width, height, {}};
    bool keyed = false;
    for (int i = 0; i < width * height; ++i) {
        if (random() % 5 == 0) keyed = !keyed;
        out.values.push_back(keyed ? key : (random() & Mask(bitsPerPixel)));
    }
    return out;
}

void SetKey(IDirectDrawSurface7* surface, std::uint32_t key) {
    DDCOLORKEY colorKey{key, key};
    ASSERT_EQ(surface->SetColorKey(DDCKEY_SRCBLT, &colorKey), DD_OK);
}

// What BltFast must produce, pixel by pixel.
void ReferenceBlit(Pixels& dest, const Pixels& source, int x, int y, const RECT& rect,
                   const std::uint32_t* key) {
    const Pixels from = source;
    for (int sy = rect.top; sy < rect.bottom; ++sy) {
        for (int sx = rect.left; sx < rect.right; ++sx) {
            const std::uint32_t value = from.values[std::size_t(sy) * from.width + sx];
            if (key == nullptr || value != *key) dest.at(x + sx - rect.left, y + sy - rect.top) = value;
        }
    }
}

class DirectDrawTest : public ::testing::Test {
protected:
    void SetUp() override { Install({}); }

    void Install(const headless::Config& config) {
        headless::Install(config);
        headless::ClearFaults();
        window_ = platform::CurrentBackend().CreateWindow("display");
    }

    // Device, IDirectDraw7 view, full screen in the mode, flip chain.
    void Open(int width = 800, int height = 600, int bitsPerPixel = 32) {
        ASSERT_EQ(DirectDrawCreate(nullptr, &dd_, nullptr), DD_OK);
        ASSERT_EQ(dd_->QueryInterface(IID_IDirectDraw7, reinterpret_cast<void**>(&dd7_)), DD_OK);
        ASSERT_EQ(dd7_->SetCooperativeLevel(window_, kFullScreen), DD_OK);
        ASSERT_EQ(dd7_->SetDisplayMode(width, height, bitsPerPixel, 0, 0), DD_OK);
        DDSURFACEDESC2 chain = FlipChainDesc();
        ASSERT_EQ(dd7_->CreateSurface(&chain, &primary_, nullptr), DD_OK);
        DDSCAPS2 caps{DDSCAPS_BACKBUFFER, 0, 0, 0};
        ASSERT_EQ(primary_->GetAttachedSurface(&caps, &back_), DD_OK);
    }

    Owned<IDirectDrawSurface7> OffScreen(int width, int height) {
        DDSURFACEDESC2 desc = OffScreenDesc(width, height);
        IDirectDrawSurface7* surface = nullptr;
        EXPECT_EQ(dd7_->CreateSurface(&desc, &surface, nullptr), DD_OK);
        return Owned<IDirectDrawSurface7>(surface);
    }

    void TearDown() override {
        if (back_ != nullptr) back_->Release();
        if (primary_ != nullptr) primary_->Release();
        if (dd7_ != nullptr) dd7_->Release();
        if (dd_ != nullptr) dd_->Release();
    }

    HWND window_ = 0;
    IDirectDraw* dd_ = nullptr;
    IDirectDraw7* dd7_ = nullptr;
    IDirectDrawSurface7* primary_ = nullptr;
    IDirectDrawSurface7* back_ = nullptr;
};

TEST_F(DirectDrawTest, ReferencesBalanceAndTheScreenIsLeftWithTheLastDeviceReference) {
    Open();
    EXPECT_EQ(headless::FullScreenWindow(), window_);
    EXPECT_EQ(dd_->AddRef(), 3u);  // base, IDirectDraw7 view, this one
    EXPECT_EQ(dd_->Release(), 2u);
    EXPECT_EQ(back_->AddRef(), 3u);  // the primary's, ours, this one
    EXPECT_EQ(back_->Release(), 2u);

    auto sprite = OffScreen(8, 8);
    // The components' order: back buffer, primary, IDirectDraw7, base.
    EXPECT_EQ(std::exchange(back_, nullptr)->Release(), 1u);
    EXPECT_EQ(std::exchange(primary_, nullptr)->Release(), 0u);
    EXPECT_EQ(std::exchange(dd7_, nullptr)->Release(), 1u);
    EXPECT_EQ(headless::FullScreenWindow(), window_);
    EXPECT_EQ(std::exchange(dd_, nullptr)->Release(), 0u);
    EXPECT_EQ(headless::FullScreenWindow(), HWND(0));

    // A surface released after its device answers safely: the screen went
    // back to the desktop's mode, so it is lost.
    DDBLTFX fx{sizeof(DDBLTFX), 7};
    EXPECT_EQ(sprite->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL, &fx), DDERR_SURFACELOST);
    EXPECT_EQ(sprite->Restore(), DD_OK);
    EXPECT_EQ(sprite->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL, &fx), DD_OK);
    EXPECT_EQ(sprite.release()->Release(), 0u);
}

TEST_F(DirectDrawTest, BackBufferOutlivesItsPrimary) {
    Open();
    EXPECT_EQ(std::exchange(primary_, nullptr)->Release(), 0u);
    DDBLTFX fx{sizeof(DDBLTFX), 0x123456};
    EXPECT_EQ(back_->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx), DD_OK);
    EXPECT_EQ(Read(back_).values.back(), 0x123456u);
}

TEST_F(DirectDrawTest, OnlyOfferedModesAreSetAndTheChainTakesTheModesSize) {
    ASSERT_EQ(DirectDrawCreate(nullptr, &dd_, nullptr), DD_OK);
    ASSERT_EQ(dd_->QueryInterface(IID_IDirectDraw7, reinterpret_cast<void**>(&dd7_)), DD_OK);
    EXPECT_EQ(dd7_->SetDisplayMode(800, 600, 32, 0, 0), DDERR_NOEXCLUSIVEMODE);
    EXPECT_EQ(dd7_->SetCooperativeLevel(window_ + 100, kFullScreen), DDERR_INVALIDPARAMS);
    ASSERT_EQ(dd7_->SetCooperativeLevel(window_, kFullScreen), DD_OK);
    EXPECT_EQ(dd7_->SetDisplayMode(640, 480, 32, 0, 0), DDERR_INVALIDMODE);
    EXPECT_EQ(dd7_->SetDisplayMode(800, 600, 8, 0, 0), DDERR_INVALIDMODE);
    EXPECT_EQ(dd7_->SetDisplayMode(1280, 1024, 16, 0, 0), DD_OK);

    DDSURFACEDESC2 chain = FlipChainDesc();
    ASSERT_EQ(dd7_->CreateSurface(&chain, &primary_, nullptr), DD_OK);
    IDirectDrawSurface7* second = nullptr;
    EXPECT_EQ(dd7_->CreateSurface(&chain, &second, nullptr), DDERR_PRIMARYSURFACEALREADYEXISTS);
    EXPECT_EQ(second, nullptr);
    DDSURFACEDESC2 desc{};
    desc.dwSize = sizeof(desc);
    ASSERT_EQ(primary_->GetSurfaceDesc(&desc), DD_OK);
    EXPECT_EQ(desc.dwWidth, 1280u);
    EXPECT_EQ(desc.dwHeight, 1024u);
    EXPECT_EQ(desc.ddpfPixelFormat.dwRGBBitCount, 16u);
    EXPECT_EQ(desc.ddpfPixelFormat.dwRBitMask, 0xF800u);
    EXPECT_GE(desc.lPitch, 1280 * 2);
}

TEST_F(DirectDrawTest, WithoutAModeTheChainHasTheDesktopsSize) {
    Install({.desktop = {1920, 1080, 24}});
    ASSERT_EQ(DirectDrawCreate(nullptr, &dd_, nullptr), DD_OK);
    ASSERT_EQ(dd_->QueryInterface(IID_IDirectDraw7, reinterpret_cast<void**>(&dd7_)), DD_OK);
    DDSURFACEDESC2 chain = FlipChainDesc();
    EXPECT_EQ(dd7_->CreateSurface(&chain, &primary_, nullptr), DDERR_NOEXCLUSIVEMODE);
    ASSERT_EQ(dd7_->SetCooperativeLevel(window_, kFullScreen), DD_OK);
    ASSERT_EQ(dd7_->CreateSurface(&chain, &primary_, nullptr), DD_OK);
    DDSURFACEDESC2 desc{};
    desc.dwSize = sizeof(desc);
    ASSERT_EQ(primary_->GetSurfaceDesc(&desc), DD_OK);
    EXPECT_EQ(desc.dwWidth, 1920u);
    EXPECT_EQ(desc.ddpfPixelFormat.dwRGBBitCount, 24u);
}

TEST_F(DirectDrawTest, SurfaceSizesAreValidated) {
    Open();
    for (const auto& [width, height] :
         {std::pair<DWORD, DWORD>{0, 10}, {10, 0}, {100000, 10}, {0xFFFFFFFF, 1}}) {
        DDSURFACEDESC2 desc = OffScreenDesc(width, height);
        IDirectDrawSurface7* surface = nullptr;
        EXPECT_EQ(dd7_->CreateSurface(&desc, &surface, nullptr), DDERR_INVALIDPARAMS) << width;
        EXPECT_EQ(surface, nullptr);
    }
    DDSURFACEDESC2 noSize = OffScreenDesc(10, 10);
    noSize.dwFlags = DDSD_CAPS;
    IDirectDrawSurface7* surface = nullptr;
    EXPECT_EQ(dd7_->CreateSurface(&noSize, &surface, nullptr), DDERR_INVALIDPARAMS);
}

TEST_F(DirectDrawTest, FlipExchangesTheBuffersAndPresentsTheNewFront) {
    Open(800, 600, 32);
    DDBLTFX fx{sizeof(DDBLTFX), 0x00FF0000};
    ASSERT_EQ(primary_->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL, &fx), DD_OK);
    fx.dwFillColor = 0x000000FF;
    ASSERT_EQ(back_->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL, &fx), DD_OK);
    const int before = headless::PresentedFrameCount();

    ASSERT_EQ(primary_->Flip(nullptr, 0), DD_OK);
    EXPECT_EQ(Read(primary_).values.front(), 0x000000FFu);
    EXPECT_EQ(Read(back_).values.front(), 0x00FF0000u);  // the old front, not a copy
    EXPECT_EQ(headless::PresentedFrameCount(), before + 1);
    const auto frame = headless::LastPresentedFrame();
    ASSERT_TRUE(frame.has_value());
    EXPECT_EQ(frame->Width(), 800);
    EXPECT_EQ(frame->Height(), 600);
    EXPECT_EQ(frame->At(799, 599), 0x0000FFu);

    EXPECT_EQ(back_->Flip(nullptr, 0), DDERR_NOTFLIPPABLE);
    HDC dc = nullptr;
    ASSERT_EQ(back_->GetDC(&dc), DD_OK);
    EXPECT_EQ(primary_->Flip(nullptr, 0), DDERR_SURFACEBUSY);
    EXPECT_EQ(back_->ReleaseDC(dc), DD_OK);
    EXPECT_EQ(headless::PresentedFrameCount(), before + 1);
}

TEST_F(DirectDrawTest, LostSurfacesRefuseWorkUntilRestored) {
    Open();
    auto sprite = OffScreen(4, 4);
    platform::LoseAllSurfaces();
    auto later = OffScreen(4, 4);
    EXPECT_EQ(later->IsLost(), DD_OK);
    for (IDirectDrawSurface7* surface : {primary_, back_, sprite.get()}) {
        EXPECT_EQ(surface->IsLost(), DDERR_SURFACELOST);
    }
    const int presented = headless::PresentedFrameCount();
    EXPECT_EQ(primary_->Flip(nullptr, 0), DDERR_SURFACELOST);
    EXPECT_EQ(headless::PresentedFrameCount(), presented);
    EXPECT_EQ(back_->BltFast(0, 0, sprite.get(), nullptr, DDBLTFAST_NOCOLORKEY), DDERR_SURFACELOST);
    HDC dc = nullptr;
    EXPECT_EQ(back_->GetDC(&dc), DDERR_SURFACELOST);

    EXPECT_EQ(sprite->Restore(), DD_OK);
    EXPECT_EQ(sprite->IsLost(), DD_OK);
    EXPECT_EQ(back_->IsLost(), DDERR_SURFACELOST);
    EXPECT_EQ(dd7_->RestoreAllSurfaces(), DD_OK);
    for (IDirectDrawSurface7* surface : {primary_, back_, sprite.get()}) {
        EXPECT_EQ(surface->IsLost(), DD_OK);
    }
    EXPECT_EQ(primary_->Flip(nullptr, 0), DD_OK);
    platform::LoseAllSurfaces();
    EXPECT_EQ(primary_->Restore(), DD_OK);  // restores the whole chain
    EXPECT_EQ(back_->IsLost(), DD_OK);
}

TEST_F(DirectDrawTest, LockAndDeviceContextsAreExclusive) {
    Open(800, 600, 24);
    auto sprite = OffScreen(5, 3);
    DDSURFACEDESC2 desc{};
    desc.dwSize = sizeof(desc);
    ASSERT_EQ(sprite->Lock(nullptr, &desc, 0, nullptr), DD_OK);
    EXPECT_NE(desc.lpSurface, nullptr);
    EXPECT_EQ(desc.ddpfPixelFormat.dwRGBBitCount, 24u);
    EXPECT_GE(desc.lPitch, 15);
    DDSURFACEDESC2 again{};
    again.dwSize = sizeof(again);
    EXPECT_EQ(sprite->Lock(nullptr, &again, 0, nullptr), DDERR_SURFACEBUSY);
    HDC dc = nullptr;
    EXPECT_EQ(sprite->GetDC(&dc), DDERR_SURFACEBUSY);
    EXPECT_EQ(sprite->Unlock(nullptr), DD_OK);
    EXPECT_EQ(sprite->Unlock(nullptr), DDERR_NOTLOCKED);

    ASSERT_EQ(sprite->GetDC(&dc), DD_OK);
    HDC second = nullptr;
    EXPECT_EQ(sprite->GetDC(&second), DDERR_DCALREADYCREATED);
    EXPECT_EQ(sprite->ReleaseDC(second), DDERR_INVALIDPARAMS);
    EXPECT_EQ(sprite->ReleaseDC(dc), DD_OK);
    EXPECT_EQ(sprite->ReleaseDC(dc), DDERR_INVALIDPARAMS);

    desc.dwSize = 12;
    EXPECT_EQ(sprite->Lock(nullptr, &desc, 0, nullptr), DDERR_INVALIDPARAMS);
}

TEST_F(DirectDrawTest, ColourFillCoversTheRectangleOnly) {
    for (const int depth : {16, 24, 32}) {
        SCOPED_TRACE(depth);
        TearDown();
        dd_ = nullptr, dd7_ = nullptr, primary_ = nullptr, back_ = nullptr;
        Open(800, 600, depth);
        auto sprite = OffScreen(7, 5);
        DDBLTFX fx{sizeof(DDBLTFX), 0xFFABCDEF};
        RECT area{2, 1, 6, 3};
        ASSERT_EQ(sprite->Blt(&area, nullptr, nullptr, DDBLT_COLORFILL, &fx), DD_OK);
        Pixels pixels = Read(sprite.get());
        for (int y = 0; y < 5; ++y) {
            for (int x = 0; x < 7; ++x) {
                const bool inside = x >= 2 && x < 6 && y >= 1 && y < 3;
                EXPECT_EQ(pixels.at(x, y), inside ? 0xFFABCDEF & Mask(depth) : 0u) << x << "," << y;
            }
        }
        RECT outside{0, 0, 8, 5};
        EXPECT_EQ(sprite->Blt(&outside, nullptr, nullptr, DDBLT_COLORFILL, &fx), DDERR_INVALIDRECT);
    }
}

class BlitTest : public DirectDrawTest, public ::testing::WithParamInterface<int> {
protected:
    void SetUp() override {
        DirectDrawTest::SetUp();
        Open(800, 600, GetParam());
    }
    int Depth() const { return GetParam(); }
};

TEST_P(BlitTest, UnkeyedAndKeyedBlitsMatchThePixelRule) {
    const std::uint32_t key = 0x00A1B2C3 & Mask(Depth());
    auto sprite = OffScreen(37, 23);
    auto dest = OffScreen(64, 48);
    const Pixels source = RandomPixels(37, 23, Depth(), key, 1);
    Write(sprite.get(), source);
    SetKey(sprite.get(), key);
    Pixels expected = RandomPixels(64, 48, Depth(), 0, 2);
    Write(dest.get(), expected);

    std::mt19937 random(3);
    for (int i = 0; i < 200; ++i) {
        const int left = int(random() % 37), top = int(random() % 23);
        RECT rect{left, top, left + 1 + int(random() % (37 - left)), top + 1 + int(random() % (23 - top))};
        const int x = int(random() % (64 - (rect.right - rect.left) + 1));
        const int y = int(random() % (48 - (rect.bottom - rect.top) + 1));
        const bool keyed = random() % 2 == 0;
        ASSERT_EQ(
            dest->BltFast(x, y, sprite.get(), &rect, keyed ? DDBLTFAST_SRCCOLORKEY : DDBLTFAST_NOCOLORKEY),
            DD_OK);
        ReferenceBlit(expected, source, x, y, rect, keyed ? &key : nullptr);
    }
    EXPECT_EQ(Read(dest.get()), expected);
}

TEST_P(BlitTest, OverlappingBlitsWithinOneSurfaceReadBeforeTheyWrite) {
    const std::uint32_t key = 0x1234 & Mask(Depth());
    auto surface = OffScreen(40, 30);
    Pixels expected = RandomPixels(40, 30, Depth(), key, 4);
    Write(surface.get(), expected);
    SetKey(surface.get(), key);
    const RECT rect{5, 5, 30, 20};
    for (const auto& [x, y] : {std::pair{8, 7}, {2, 3}, {9, 5}, {5, 2}}) {
        for (const bool keyed : {false, true}) {
            ASSERT_EQ(surface->BltFast(x, y, surface.get(), const_cast<RECT*>(&rect),
                                       keyed ? DDBLTFAST_SRCCOLORKEY : 0),
                      DD_OK);
            ReferenceBlit(expected, expected, x, y, rect, keyed ? &key : nullptr);
        }
    }
    EXPECT_EQ(Read(surface.get()), expected);
}

// The cached runs of a keyed source must follow every change of its pixels or key.
TEST_P(BlitTest, KeyedBlitsSeeChangesMadeThroughLockDeviceContextKeyAndBlits) {
    const std::uint32_t white = Mask(Depth()) & (Depth() == 32 ? 0x00FFFFFF : ~0u);
    auto sprite = OffScreen(4, 1);
    auto dest = OffScreen(4, 1);
    Pixels pixels{4, 1, {0, white, 0, white}};
    Write(sprite.get(), pixels);
    SetKey(sprite.get(), 0);
    DDBLTFX fill{sizeof(DDBLTFX), 5};
    auto blit = [&] {
        EXPECT_EQ(dest->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL, &fill), DD_OK);
        EXPECT_EQ(dest->BltFast(0, 0, sprite.get(), nullptr, DDBLTFAST_SRCCOLORKEY), DD_OK);
        return Read(dest.get()).values;
    };
    EXPECT_EQ(blit(), (std::vector<std::uint32_t>{5, white, 5, white}));

    pixels.values = {white, 0, 0, white};
    Write(sprite.get(), pixels);
    EXPECT_EQ(blit(), (std::vector<std::uint32_t>{white, 5, 5, white}));

    HDC dc = nullptr;
    ASSERT_EQ(sprite->GetDC(&dc), DD_OK);
    SetPixel(dc, 1, 0, RGB(255, 255, 255));
    ASSERT_EQ(sprite->ReleaseDC(dc), DD_OK);
    EXPECT_EQ(blit(), (std::vector<std::uint32_t>{white, white, 5, white}));

    SetKey(sprite.get(), white);
    EXPECT_EQ(blit(), (std::vector<std::uint32_t>{5, 5, 0, 5}));

    // Written as a destination, then used as a source.
    auto other = OffScreen(1, 1);
    ASSERT_EQ(sprite->BltFast(0, 0, other.get(), nullptr, DDBLTFAST_NOCOLORKEY), DD_OK);
    EXPECT_EQ(blit(), (std::vector<std::uint32_t>{0, 5, 0, 5}));
    DDBLTFX clear{sizeof(DDBLTFX), 0};
    ASSERT_EQ(sprite->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL, &clear), DD_OK);
    EXPECT_EQ(blit(), (std::vector<std::uint32_t>{0, 0, 0, 0}));
}

TEST_P(BlitTest, RectanglesThatDoNotFitAreRefusedAndDrawNothing) {
    auto sprite = OffScreen(10, 10);
    DDBLTFX fill{sizeof(DDBLTFX), 9};
    ASSERT_EQ(sprite->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL, &fill), DD_OK);
    auto dest = OffScreen(40, 30);
    const Pixels before = Read(dest.get());
    RECT inside{0, 0, 10, 10};
    RECT beyondSource{5, 5, 11, 10};
    RECT inverted{6, 0, 5, 10};
    RECT empty{3, 3, 3, 8};
    RECT negative{-1, 0, 4, 4};
    EXPECT_EQ(dest->BltFast(0, 0, sprite.get(), &beyondSource, 0), DDERR_INVALIDRECT);
    EXPECT_EQ(dest->BltFast(0, 0, sprite.get(), &inverted, 0), DDERR_INVALIDRECT);
    EXPECT_EQ(dest->BltFast(0, 0, sprite.get(), &empty, 0), DDERR_INVALIDRECT);
    EXPECT_EQ(dest->BltFast(0, 0, sprite.get(), &negative, 0), DDERR_INVALIDRECT);
    EXPECT_EQ(dest->BltFast(31, 0, sprite.get(), &inside, 0), DDERR_INVALIDRECT);
    EXPECT_EQ(dest->BltFast(0, 21, sprite.get(), &inside, 0), DDERR_INVALIDRECT);
    EXPECT_EQ(dest->BltFast(0xFFFFFFFF, 0, sprite.get(), &inside, 0), DDERR_INVALIDRECT);
    EXPECT_EQ(dest->BltFast(0, 0, sprite.get(), &inside, DDBLTFAST_SRCCOLORKEY), DDERR_NOCOLORKEY);
    EXPECT_EQ(dest->BltFast(0, 0, nullptr, &inside, 0), DDERR_INVALIDPARAMS);
    EXPECT_EQ(Read(dest.get()), before);
    EXPECT_EQ(dest->BltFast(30, 20, sprite.get(), &inside, 0), DD_OK);
    EXPECT_EQ(Read(dest.get()).at(39, 29), 9u);
}

INSTANTIATE_TEST_SUITE_P(Depths, BlitTest, ::testing::Values(16, 24, 32));

TEST_F(DirectDrawTest, InjectedFaultsAnswerTheirCodeAndDoNothingElse) {
    headless::InjectFault(DisplayOp::DirectDrawCreate, DDERR_GENERIC);
    IDirectDraw* failed = reinterpret_cast<IDirectDraw*>(1);
    EXPECT_EQ(DirectDrawCreate(nullptr, &failed, nullptr), DDERR_GENERIC);
    EXPECT_EQ(failed, nullptr);
    EXPECT_EQ(headless::CallCount(DisplayOp::DirectDrawCreate), 1);

    Open();
    auto sprite = OffScreen(2, 2);
    DDBLTFX fill{sizeof(DDBLTFX), 3};
    ASSERT_EQ(sprite->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL, &fill), DD_OK);
    headless::InjectFault(DisplayOp::BltFast, DDERR_WASSTILLDRAWING, 2);
    EXPECT_EQ(back_->BltFast(0, 0, sprite.get(), nullptr, 0), DDERR_WASSTILLDRAWING);
    EXPECT_EQ(back_->BltFast(0, 0, sprite.get(), nullptr, 0), DDERR_WASSTILLDRAWING);
    EXPECT_EQ(Read(back_).at(0, 0), 0u);
    EXPECT_EQ(back_->BltFast(0, 0, sprite.get(), nullptr, 0), DD_OK);
    EXPECT_EQ(Read(back_).at(0, 0), 3u);
    EXPECT_EQ(headless::CallCount(DisplayOp::BltFast), 3);

    headless::InjectFault(DisplayOp::Flip, DDERR_SURFACELOST);
    const int presented = headless::PresentedFrameCount();
    EXPECT_EQ(primary_->Flip(nullptr, 0), DDERR_SURFACELOST);
    EXPECT_EQ(headless::PresentedFrameCount(), presented);
    EXPECT_EQ(primary_->Flip(nullptr, 0), DD_OK);

    headless::InjectFault(DisplayOp::QueryInterface, E_NOINTERFACE);
    IDirectDrawGammaControl* gamma = nullptr;
    EXPECT_EQ(primary_->QueryInterface(IID_IDirectDrawGammaControl, reinterpret_cast<void**>(&gamma)),
              E_NOINTERFACE);
    EXPECT_EQ(gamma, nullptr);

    headless::ClearFaults();
    EXPECT_EQ(headless::CallCount(DisplayOp::BltFast), 0);
    EXPECT_EQ(back_->BltFast(0, 0, sprite.get(), nullptr, 0), DD_OK);
}

TEST_F(DirectDrawTest, CapabilitiesTellPrimaryGammaAsTheBackEndOffersIt) {
    for (const bool gamma : {true, false}) {
        Install({.gamma = gamma});
        IDirectDraw* device = nullptr;
        ASSERT_EQ(DirectDrawCreate(nullptr, &device, nullptr), DD_OK);
        DDCAPS caps{};
        caps.dwSize = sizeof(caps);
        ASSERT_EQ(device->GetCaps(&caps, nullptr), DD_OK);
        EXPECT_EQ((caps.dwCaps2 & DDCAPS2_PRIMARYGAMMA) != 0, gamma);
        EXPECT_EQ(caps.dwSize, 380u);
        caps.dwSize = 100;
        EXPECT_EQ(device->GetCaps(&caps, nullptr), DDERR_INVALIDPARAMS);
        device->Release();
    }
}

TEST_F(DirectDrawTest, GammaRampIsAppliedToPresentedFramesAndOutlivesTheDevice) {
    Open(800, 600, 16);
    IDirectDrawGammaControl* gamma = nullptr;
    ASSERT_EQ(primary_->QueryInterface(IID_IDirectDrawGammaControl, reinterpret_cast<void**>(&gamma)), DD_OK);
    IDirectDrawGammaControl* none = nullptr;
    EXPECT_EQ(back_->QueryInterface(IID_IDirectDrawGammaControl, reinterpret_cast<void**>(&none)),
              E_NOINTERFACE);

    DDGAMMARAMP ramp{};
    ASSERT_EQ(gamma->GetGammaRamp(0, &ramp), DD_OK);
    EXPECT_EQ(ramp.red[255], 255 * 256);
    EXPECT_EQ(ramp.blue[1], 256);
    for (int i = 0; i < 256; ++i) {
        ramp.red[i] = WORD(i * 128);  // half
        ramp.green[i] = WORD(i * 256);
        ramp.blue[i] = 0;
    }
    ASSERT_EQ(gamma->SetGammaRamp(0, &ramp), DD_OK);
    DDBLTFX white{sizeof(DDBLTFX), 0xFFFF};
    ASSERT_EQ(back_->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL, &white), DD_OK);
    ASSERT_EQ(primary_->Flip(nullptr, 0), DD_OK);
    EXPECT_EQ(headless::LastPresentedFrame()->At(10, 10), 0x7FFF00u);

    // Closing order of the scene: the device first, the identity ramp after.
    TearDown();
    dd_ = nullptr, dd7_ = nullptr, primary_ = nullptr, back_ = nullptr;
    EXPECT_EQ(gamma->SetGammaRamp(0, &ramp), DD_OK);
    EXPECT_EQ(gamma->Release(), 0u);
}

TEST_F(DirectDrawTest, GammaWritesFromAnotherThreadDoNotDisturbPresenting) {
    Open(800, 600, 32);
    IDirectDrawGammaControl* gamma = nullptr;
    ASSERT_EQ(primary_->QueryInterface(IID_IDirectDrawGammaControl, reinterpret_cast<void**>(&gamma)), DD_OK);
    std::thread timer([&] {
        DDGAMMARAMP ramp{};
        for (WORD step = 0; step <= 256; step += 8) {
            for (int i = 0; i < 256; ++i) ramp.red[i] = ramp.green[i] = ramp.blue[i] = WORD(i * step);
            gamma->SetGammaRamp(0, &ramp);
            platform::LoseAllSurfaces();
            std::this_thread::yield();
        }
    });
    for (int frame = 0; frame < 10; ++frame) {
        if (primary_->Flip(nullptr, 0) == DDERR_SURFACELOST) dd7_->RestoreAllSurfaces();
    }
    timer.join();
    gamma->Release();
}

TEST_F(DirectDrawTest, DisplayModesAreEnumeratedUntilTheCallbackCancels) {
    Open();
    struct Seen {
        std::vector<platform::ScreenMode> modes;
        std::size_t stopAfter = 1000;
    } seen;
    auto collect = [](DDSURFACEDESC2* mode, void* context) -> HRESULT {
        auto* s = static_cast<Seen*>(context);
        s->modes.push_back(
            {int(mode->dwWidth), int(mode->dwHeight), int(mode->ddpfPixelFormat.dwRGBBitCount)});
        return s->modes.size() < s->stopAfter ? HRESULT(DDENUMRET_OK) : HRESULT(DDENUMRET_CANCEL);
    };
    ASSERT_EQ(dd7_->EnumDisplayModes(0, nullptr, &seen, collect), DD_OK);
    EXPECT_EQ(seen.modes, platform::CurrentBackend().OfferedModes());
    seen = {{}, 2};
    ASSERT_EQ(dd7_->EnumDisplayModes(0, nullptr, &seen, collect), DD_OK);
    EXPECT_EQ(seen.modes.size(), 2u);
}

TEST_F(DirectDrawTest, DevicesAreEnumeratedDefaultFirstThenOnePerMonitor) {
    Install({.monitors = 2});
    struct Seen {
        std::vector<std::optional<GUID>> devices;
    } seen;
    auto collect = [](GUID* device, LPSTR, LPSTR, LPVOID context, HMONITOR) -> BOOL {
        auto* s = static_cast<Seen*>(context);
        s->devices.push_back(device != nullptr ? std::optional(*device) : std::nullopt);
        return TRUE;
    };
    ASSERT_EQ(DirectDrawEnumerateExA(collect, &seen, DDENUM_ATTACHEDSECONDARYDEVICES), DD_OK);
    ASSERT_EQ(seen.devices.size(), 3u);
    EXPECT_FALSE(seen.devices[0].has_value());
    ASSERT_TRUE(seen.devices[1] && seen.devices[2]);
    EXPECT_FALSE(*seen.devices[1] == *seen.devices[2]);

    GUID second = *seen.devices[2];
    IDirectDraw* device = nullptr;
    ASSERT_EQ(DirectDrawCreate(&second, &device, nullptr), DD_OK);
    device->Release();
    GUID unknown = second;
    unknown.Data1 ^= 1;
    EXPECT_EQ(DirectDrawCreate(&unknown, &device, nullptr), DDERR_INVALIDPARAMS);

    auto stop = [](GUID*, LPSTR, LPSTR, LPVOID context, HMONITOR) -> BOOL {
        ++*static_cast<int*>(context);
        return FALSE;
    };
    int calls = 0;
    ASSERT_EQ(DirectDrawEnumerateExA(stop, &calls, DDENUM_ATTACHEDSECONDARYDEVICES), DD_OK);
    EXPECT_EQ(calls, 1);
}

}  // namespace
