// Frame costs of the software display at 1920x1080x32: full-screen fast blits
// with and without a colour key, and presenting through a gamma ramp.
#include "platform/backends/headless/Headless.h"
#include "platform/directdraw/Presentation.h"
#include "platform/seam/Backend.h"
#include "platform/winapi/DirectDraw.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

// A full-screen device with a back buffer and one screen-sized picture whose
// left half of every row band is opaque, the rest the key 0.
class Screen {
public:
    Screen() {
        platform::headless::Install({.desktop = {kWidth, kHeight, 32}});
        const HWND window = platform::CurrentBackend().CreateWindow("bench");
        DirectDrawCreate(nullptr, &dd_, nullptr);
        dd_->QueryInterface(IID_IDirectDraw7, reinterpret_cast<void**>(&dd7_));
        dd7_->SetCooperativeLevel(window, DDSCL_FULLSCREEN | DDSCL_EXCLUSIVE);
        dd7_->SetDisplayMode(kWidth, kHeight, 32, 0, 0);
        DDSURFACEDESC2 desc{};
        desc.dwSize = sizeof(desc);
        desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
        desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN;
        desc.dwWidth = kWidth;
        desc.dwHeight = kHeight;
        dd7_->CreateSurface(&desc, &back_, nullptr);
        dd7_->CreateSurface(&desc, &picture_, nullptr);
        DDSURFACEDESC2 locked{};
        locked.dwSize = sizeof(locked);
        picture_->Lock(nullptr, &locked, 0, nullptr);
        for (int y = 0; y < kHeight; ++y) {
            auto* row = static_cast<std::uint8_t*>(locked.lpSurface) + y * locked.lPitch;
            for (int x = 0; x < kWidth; ++x) {
                const std::uint32_t value = (x + y / 64 * 97) % 400 < 200 ? 0x00336699u + x : 0u;
                std::memcpy(row + 4 * x, &value, 4);
            }
        }
        picture_->Unlock(nullptr);
        DDCOLORKEY key{0, 0};
        picture_->SetColorKey(DDCKEY_SRCBLT, &key);
    }
    ~Screen() {
        picture_->Release();
        back_->Release();
        dd7_->Release();
        dd_->Release();
    }
    IDirectDrawSurface7* back() { return back_; }
    IDirectDrawSurface7* picture() { return picture_; }

private:
    IDirectDraw* dd_ = nullptr;
    IDirectDraw7* dd7_ = nullptr;
    IDirectDrawSurface7* back_ = nullptr;
    IDirectDrawSurface7* picture_ = nullptr;
};

void Blit(benchmark::State& state, DWORD flags) {
    Screen screen;
    RECT all{0, 0, kWidth, kHeight};
    for (auto _ : state) {
        benchmark::DoNotOptimize(screen.back()->BltFast(0, 0, screen.picture(), &all, flags));
    }
    state.SetBytesProcessed(state.iterations() * std::int64_t(kWidth) * kHeight * 4);
}

void BM_BltFastUnkeyed(benchmark::State& state) { Blit(state, DDBLTFAST_NOCOLORKEY); }
void BM_BltFastKeyed(benchmark::State& state) { Blit(state, DDBLTFAST_SRCCOLORKEY); }
BENCHMARK(BM_BltFastUnkeyed)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BltFastKeyed)->Unit(benchmark::kMillisecond);

void Present(benchmark::State& state, int bitsPerPixel, const DDGAMMARAMP& ramp) {
    const int pitch = (kWidth * bitsPerPixel / 8 + 3) & ~3;
    std::vector<std::uint8_t> pixels(std::size_t(pitch) * kHeight, 0x5A);
    std::vector<std::uint32_t> out(std::size_t(kWidth) * kHeight);
    const platform::PixelView frame{pixels.data(), kWidth, kHeight, pitch, bitsPerPixel};
    for (auto _ : state) {
        benchmark::DoNotOptimize(platform::ConvertFrame(frame, ramp, out.data(), kWidth * 4));
    }
    state.SetBytesProcessed(state.iterations() * std::int64_t(kWidth) * kHeight * 4);
}

DDGAMMARAMP Darkened() {
    DDGAMMARAMP ramp{};
    for (int i = 0; i < 256; ++i) {
        ramp.red[i] = WORD(i * 200);
        ramp.green[i] = WORD(i * 180);
        ramp.blue[i] = WORD(i * 256);
    }
    return ramp;
}

void BM_PresentIdentity32(benchmark::State& state) { Present(state, 32, platform::IdentityRamp()); }
void BM_PresentRamp32(benchmark::State& state) { Present(state, 32, Darkened()); }
void BM_PresentRamp24(benchmark::State& state) { Present(state, 24, Darkened()); }
void BM_PresentRamp16(benchmark::State& state) { Present(state, 16, Darkened()); }
BENCHMARK(BM_PresentIdentity32)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PresentRamp32)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PresentRamp24)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PresentRamp16)->Unit(benchmark::kMillisecond);

}  // namespace
