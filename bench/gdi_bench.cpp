// GDI work the saver does: the clock's figures and the text lines on every
// frame, and the scaled picture uploads at set-up, on a 1920x1080 back buffer.

#include "platform/forms/Bitmap.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/winapi/Gdi.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <vector>

namespace {

constexpr int W = 1920;
constexpr int H = 1080;

class BackBuffer {
public:
    explicit BackBuffer(int bitsPerPixel, int width = W, int height = H)
        : pixels_(std::size_t(width) * height * 4),
          dc_(platform::CreateSurfaceDC(
              {pixels_.data(), width, height, width * (bitsPerPixel / 8), bitsPerPixel})) {}
    ~BackBuffer() { platform::DestroyDC(dc_); }
    BackBuffer(const BackBuffer&) = delete;
    BackBuffer& operator=(const BackBuffer&) = delete;
    HDC dc() const { return dc_; }

private:
    std::vector<std::uint8_t> pixels_;
    HDC dc_;
};

// One clock as the overlay draws it at radius 140: a pen and a brush made
// and dropped, 77 dots and squares, two hands and the second hand.
void BM_ClockFigures(benchmark::State& state) {
    BackBuffer back(int(state.range(0)));
    constexpr int cx = 1700, cy = 160, radius = 140;
    for (auto _ : state) {
        HPEN pen = CreatePen(PS_SOLID, 1, RGB(255, 128, 64));
        HBRUSH brush = CreateSolidBrush(RGB(255, 128, 64));
        HGDIOBJ oldPen = SelectObject(back.dc(), pen);
        HGDIOBJ oldBrush = SelectObject(back.dc(), brush);
        Ellipse(back.dc(), cx - 3, cy - 3, cx + 3, cy + 3);
        for (int i = 0; i < 60; ++i) {
            const int x = int(cx - radius * std::sin(i * 6.283184 / 60));
            const int y = int(cy + radius * std::cos(i * 6.283184 / 60));
            Ellipse(back.dc(), x - 2, y - 2, x + 2, y + 2);
            if (i % 5 == 0) Ellipse(back.dc(), x - 3, y - 3, x + 3, y + 3);
            if (i % 15 == 0) Rectangle(back.dc(), x - 4, y - 4, x + 4, y + 4);
        }
        const POINT hour[] = {{cx, cy - 94}, {cx + 7, cy}, {cx, cy + 3}, {cx - 7, cy}};
        const POINT minute[] = {{cx + 126, cy}, {cx, cy + 4}, {cx - 4, cy}, {cx, cy - 4}};
        Polygon(back.dc(), hour, 4);
        Polygon(back.dc(), minute, 4);
        MoveToEx(back.dc(), cx - 90, cy - 98, nullptr);
        LineTo(back.dc(), cx + 15, cy + 17);
        SelectObject(back.dc(), oldPen);
        SelectObject(back.dc(), oldBrush);
        DeleteObject(pen);
        DeleteObject(brush);
    }
}
BENCHMARK(BM_ClockFigures)->Arg(16)->Arg(24)->Arg(32);

void BM_TextLine(benchmark::State& state) {
    BackBuffer back(int(state.range(0)));
    SetBkMode(back.dc(), TRANSPARENT);
    SetTextColor(back.dc(), RGB(255, 255, 255));
    for (auto _ : state) benchmark::DoNotOptimize(TextOutA(back.dc(), 20, H - 30, "Frame rate: 60 FPS", 18));
}
BENCHMARK(BM_TextLine)->Arg(16)->Arg(32);

TBitmap Gradient(int width, int height) {
    TBitmap picture(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) picture.Set(x, y, std::uint32_t(x * 7 + y * 131) & 0xFFFFFF);
    return picture;
}

// The ground picture scaled to its surface at set-up.
void BM_StretchGround(benchmark::State& state) {
    const TBitmap ground = Gradient(800, 408);
    BackBuffer surface(int(state.range(0)), W, H * 408 / 600);
    for (auto _ : state) CanvasStretchDraw(surface.dc(), RECT{0, 0, W, H * 408 / 600}, ground);
    state.SetItemsProcessed(state.iterations() * W * (H * 408 / 600));
}
BENCHMARK(BM_StretchGround)->Arg(16)->Arg(24)->Arg(32);

// One water frame: the band cut from the strip, then scaled to its surface.
void BM_WaterFrame(benchmark::State& state) {
    const TBitmap strip = Gradient(800, 2944);
    BackBuffer surface(32, W, H * 92 / 600);
    int frame = 0;
    for (auto _ : state) {
        const TBitmap band = strip.Copy(RECT{0, frame * 92, 800, (frame + 1) * 92});
        CanvasStretchDraw(surface.dc(), RECT{0, 0, W, H * 92 / 600}, band);
        frame = (frame + 1) % 32;
    }
}
BENCHMARK(BM_WaterFrame);

}  // namespace
