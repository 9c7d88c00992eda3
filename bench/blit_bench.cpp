// The hot path of every frame: fast blits onto the back buffer at
// 1920x1080x32. Measured in one run on the same pixels:
//   Ours      our colour-keyed BltFast (through the sprite and strip components
//             for the whole frame);
//   Sdl       SDL2's colour-keyed SDL_BlitSurface with RLE acceleration;
//   Memcpy    plain copies of exactly the bytes the blit writes, row by row.
// Per sprite, and for a whole island frame built as the scene builds it from
// the embedded pictures: clear, ground, both waters, yacht, two dolphins,
// seven gulls, stone shore, tree mask.

#include "display/AnimationStrip.h"
#include "display/BlitClip.h"
#include "display/DisplayDevice.h"
#include "display/PictureLoading.h"
#include "display/Sprite.h"
#include "display/SurfaceColor.h"
#include "platform/backends/headless/Headless.h"

#include <benchmark/benchmark.h>

#include <SDL.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr int W = 1920;
constexpr int H = 1080;
constexpr int kWaterFrames = 32;

// Layout sizes and positions are given for 800 x 600.
constexpr int X(int a) { return W * a / 800; }
constexpr int Y(int b) { return H * b / 600; }

// A surface's pixels read through Lock, with the key the component set.
struct SurfaceCopy {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
};

SurfaceCopy ReadSurface(IDirectDrawSurface7* surface) {
    DDSURFACEDESC2 desc{};
    desc.dwSize = sizeof desc;
    if (FAILED(surface->Lock(nullptr, &desc, 0, nullptr))) throw std::runtime_error("Lock failed");
    SurfaceCopy copy{int(desc.dwWidth), int(desc.dwHeight), {}};
    copy.pixels.resize(std::size_t(copy.width) * copy.height);
    for (int y = 0; y < copy.height; ++y)
        std::memcpy(&copy.pixels[std::size_t(y) * copy.width],
                    static_cast<const std::uint8_t*>(desc.lpSurface) + std::ptrdiff_t(y) * desc.lPitch,
                    std::size_t(copy.width) * 4);
    surface->Unlock(nullptr);
    return copy;
}

// One blit of a frame: which surface, where, keyed or not.
struct Blit {
    IDirectDrawSurface7* surface;
    int x;
    int y;
    bool keyed;
};

// What a blit writes, packed: per visible row the opaque pixels of that row
// laid side by side, to be copied with one memcpy per row.
struct PackedRows {
    struct Row {
        std::size_t destOffset;  // bytes into the screen
        std::size_t sourceOffset;
        std::size_t bytes;
    };
    std::vector<std::uint32_t> pixels;
    std::vector<Row> rows;
    std::size_t runs = 0;  // stretches of opaque pixels the keyed blit copies one by one

    std::size_t Bytes() const { return pixels.size() * 4; }
    void CopyTo(std::uint8_t* screen) const {
        const auto* source = reinterpret_cast<const std::uint8_t*>(pixels.data());
        for (const Row& row : rows)
            std::memcpy(screen + row.destOffset, source + row.sourceOffset, row.bytes);
    }
};

// The scene's drawables at 1920x1080x32 on the headless back end.
class Island {
    TForm window{nullptr};
    DisplayDevice device{&window};

public:
    static Island& Get() {
        static Island island;
        return island;
    }

    void Clear() { device.ClearBackSurface(); }

    // The frame as the scene draws it, through the components.
    void DrawOurs(int waterFrame) {
        Clear();
        ground.DrawImage();
        hightwater.SetFrame(waterFrame);
        hightwater.DrawFrame();
        lowwater.SetFrame(waterFrame);
        lowwater.DrawFrame();
        yacht.DrawFrame();
        dolphin1.DrawFrame();
        dolphin2.DrawFrame();
        for (const Gull& gull : kGulls) {
            AnimationStrip& strip = gull.small ? birdsSmall : bird;
            strip.SetX(gull.x);
            strip.SetY(gull.y);
            strip.SetFrame(gull.frame);
            strip.DrawFrame();
        }
        stone.DrawImage();
        masktree.DrawImage();
    }

    // The same frame as a list of blits.
    std::vector<Blit> Blits(int waterFrame) const {
        std::vector<Blit> blits;
        auto sprite = [&](const Sprite& s) { blits.push_back({s.surface, s.X(), s.Y(), s.Transparency()}); };
        auto strip = [&](const AnimationStrip& s, int frame, int x, int y) {
            blits.push_back({s.surfaces[std::size_t(frame)], x, y, s.Transparency()});
        };
        auto placed = [&](const AnimationStrip& s) { strip(s, s.Frame(), s.X(), s.Y()); };
        sprite(ground);
        strip(hightwater, waterFrame, hightwater.X(), hightwater.Y());
        strip(lowwater, waterFrame, lowwater.X(), lowwater.Y());
        placed(yacht);
        placed(dolphin1);
        placed(dolphin2);
        for (const Gull& gull : kGulls) strip(gull.small ? birdsSmall : bird, gull.frame, gull.x, gull.y);
        sprite(stone);
        sprite(masktree);
        return blits;
    }

    IDirectDrawSurface7* Back() const { return device.backBuffer; }

    std::string FirstError() const {
        for (const DisplayComponent* drawable : std::initializer_list<const DisplayComponent*>{
                 &ground, &stone, &masktree, &hightwater, &lowwater, &bird, &birdsSmall, &yacht, &dolphin1,
                 &dolphin2})
            if (!drawable->ErrorText().empty()) return drawable->ErrorText();
        return {};
    }

    Sprite ground{nullptr}, stone{nullptr}, masktree{nullptr};
    AnimationStrip hightwater{nullptr}, lowwater{nullptr}, bird{nullptr}, birdsSmall{nullptr};
    AnimationStrip yacht{nullptr}, dolphin1{nullptr}, dolphin2{nullptr};

private:
    struct Gull {
        bool small;
        int x;
        int y;
        int frame;
    };
    static constexpr Gull kGulls[7] = {
        {false, 300, 120, 3}, {false, 720, 200, 17}, {false, 1210, 90, 30}, {false, 1600, 260, 8},
        {true, 480, 330, 22}, {true, 1020, 280, 5},  {true, 1400, 380, 36},
    };

    Island() {
        platform::headless::Config config;
        config.desktop = {W, H, 32};
        platform::headless::Install(config);
        device.SetWidth(W);
        device.SetHeight(H);
        device.SetColorDepth(32);
        device.SetEnabled(true);
        if (device.backBuffer == nullptr) throw std::runtime_error("display: " + device.ErrorText());

        Jpeg(ground, "ground");
        Jpeg(hightwater, "hightwater");
        Jpeg(lowwater, "lowwater");
        Stored(stone, "stone");
        Stored(masktree, "masktree");
        Stored(bird, "bird");
        Stored(birdsSmall, "birds_small");
        Stored(yacht, "yacht");
        Stored(dolphin1, "dolphin");
        Stored(dolphin2, "dolphin");

        Build(ground, 0, W, Y(408), false, 0, 0);
        Build(hightwater, 92, W, Y(92), false, 0, Y(394));
        Build(lowwater, 115, X(611), Y(115), false, X(189), Y(485));
        Build(stone, 0, W, Y(245), true, 0, Y(356));
        Build(masktree, 0, X(41), Y(165), true, X(29), Y(192));
        Build(bird, 11, 18, 6, true, 0, 0);
        Build(birdsSmall, 11, 15, 5, true, 0, 0);
        Build(yacht, 31, X(31), Y(31), true, X(600), Y(360));
        Build(dolphin1, 39, X(44), Y(20), true, X(400), Y(390));
        Build(dolphin2, 39, X(44), Y(20), true, X(520), Y(400));
        yacht.SetFrame(14);
        dolphin1.SetFrame(6);
        dolphin2.SetFrame(12);
    }

    static void Jpeg(Drawable& drawable, const char* name) {
        std::string error;
        if (!LoadJpegResource(name, drawable, &error)) throw std::runtime_error(error);
    }
    static void Stored(Drawable& drawable, const char* name) {
        const auto picture = platform::LoadBitmapResource(name);
        if (!picture) throw std::runtime_error(std::string("no picture ") + name);
        drawable.SetBitmap(&*picture);
    }
    template <class Drawable>
    void Build(Drawable& drawable, int frameHeight, int width, int height, bool keyed, int x, int y) {
        drawable.device = &device;
        drawable.SetBandHeight(frameHeight);
        drawable.SetStretching(true);
        drawable.SetStretchWidth(width);
        drawable.SetStretchHeight(height);
        drawable.CreateSurface();
        if (keyed) drawable.SetTransparency(true);
        drawable.SetX(x);
        drawable.SetY(y);
        if (!drawable.ErrorText().empty()) throw std::runtime_error(drawable.ErrorText());
    }
};

// The same pixels as SDL surfaces, keyed with the same raw value and RLE
// accelerated, drawn onto an SDL screen clipped as our blits are.
class SdlMirror {
public:
    static SdlMirror& Get() {
        static SdlMirror mirror;
        return mirror;
    }

    SDL_Surface* Surface(IDirectDrawSurface7* ours, bool keyed) {
        auto found = surfaces_.find(ours);
        if (found != surfaces_.end()) return found->second.get();
        const SurfaceCopy copy = ReadSurface(ours);
        SDL_Surface* made =
            SDL_CreateRGBSurfaceWithFormat(0, copy.width, copy.height, 32, SDL_PIXELFORMAT_RGB888);
        for (int y = 0; y < copy.height; ++y)
            std::memcpy(static_cast<std::uint8_t*>(made->pixels) + std::ptrdiff_t(y) * made->pitch,
                        &copy.pixels[std::size_t(y) * copy.width], std::size_t(copy.width) * 4);
        if (keyed) {
            SDL_SetColorKey(made, SDL_TRUE, SurfaceColorValue(ours, CLR_INVALID));
            SDL_SetSurfaceRLE(made, 1);
        }
        surfaces_.emplace(ours, SurfacePtr(made));
        return made;
    }

    void Draw(const std::vector<Blit>& blits) {
        SDL_FillRect(screen_.get(), nullptr, 0);
        for (const Blit& blit : blits) {
            SDL_Rect place{blit.x, blit.y, 0, 0};
            SDL_BlitSurface(Surface(blit.surface, blit.keyed), nullptr, screen_.get(), &place);
        }
    }

    SDL_Surface* Screen() const { return screen_.get(); }

private:
    struct FreeSurface {
        void operator()(SDL_Surface* surface) const { SDL_FreeSurface(surface); }
    };
    using SurfacePtr = std::unique_ptr<SDL_Surface, FreeSurface>;

    SdlMirror() : screen_(SDL_CreateRGBSurfaceWithFormat(0, W, H, 32, SDL_PIXELFORMAT_RGB888)) {
        const SDL_Rect clip{0, 0, W - 1, H - 1};  // our blits never touch the last column and row
        SDL_SetClipRect(screen_.get(), &clip);
    }

    SurfacePtr screen_;
    std::map<IDirectDrawSurface7*, SurfacePtr> surfaces_;
};

// The bytes a blit writes, packed for memcpy.
class MemcpyMirror {
public:
    static MemcpyMirror& Get() {
        static MemcpyMirror mirror;
        return mirror;
    }

    const PackedRows& Packed(const Blit& blit) {
        const Key key{blit.surface, blit.x, blit.y};
        auto found = packed_.find(key);
        if (found != packed_.end()) return found->second;
        const SurfaceCopy copy = ReadSurface(blit.surface);
        const DWORD colorKey = SurfaceColorValue(blit.surface, CLR_INVALID);
        PackedRows packed;
        const auto clipped = ClipBlit(RECT{0, 0, copy.width, copy.height}, blit.x, blit.y, W, H);
        if (clipped) {
            for (LONG row = clipped->source.top; row < clipped->source.bottom; ++row) {
                const std::size_t start = packed.pixels.size();
                bool inRun = false;
                for (LONG column = clipped->source.left; column < clipped->source.right; ++column) {
                    const std::uint32_t pixel = copy.pixels[std::size_t(row) * copy.width + column];
                    const bool opaque = !blit.keyed || pixel != colorKey;
                    if (opaque) packed.pixels.push_back(pixel);
                    packed.runs += opaque && !inRun;
                    inRun = opaque;
                }
                const std::size_t destRow = std::size_t(clipped->y + row - clipped->source.top);
                packed.rows.push_back({(destRow * W + std::size_t(clipped->x)) * 4, start * 4,
                                       (packed.pixels.size() - start) * 4});
            }
        }
        return packed_.emplace(key, std::move(packed)).first->second;
    }

    // Clears the screen and copies every blit's bytes; returns the bytes written.
    std::size_t Draw(const std::vector<Blit>& blits) {
        std::size_t written = screen_.size() * 4;
        std::memset(screen_.data(), 0, written);
        auto* screen = reinterpret_cast<std::uint8_t*>(screen_.data());
        for (const Blit& blit : blits) {
            const PackedRows& packed = Packed(blit);
            packed.CopyTo(screen);
            written += packed.Bytes();
        }
        return written;
    }

private:
    struct Key {
        IDirectDrawSurface7* surface;
        int x;
        int y;
        friend auto operator<=>(const Key&, const Key&) = default;
    };

    std::vector<std::uint32_t> screen_ = std::vector<std::uint32_t>(std::size_t(W) * H);
    std::map<Key, PackedRows> packed_;
};

bool Ready(benchmark::State& state) {
    try {
        Island::Get();
        return true;
    } catch (const std::exception& error) {
        state.SkipWithError(error.what());
        return false;
    }
}

// ---------------------------------------------------------------------------
// Single layers: the opaque ground, the largest keyed picture, mid-size ones
// and a gull.

enum class Picture { Ground, Stone, TreeMask, Dolphin, Gull };

Blit SpriteBlit(Picture which) {
    Island& island = Island::Get();
    switch (which) {
    case Picture::Ground:
        return {island.ground.surface, 0, 0, false};
    case Picture::Stone:
        return {island.stone.surface, 0, Y(356), true};
    case Picture::TreeMask:
        return {island.masktree.surface, X(29), Y(192), true};
    case Picture::Dolphin:
        return {island.dolphin1.surfaces[6], X(400), Y(390), true};
    case Picture::Gull:
        return {island.bird.surfaces[3], 300, 120, true};
    }
    return {};
}

void BytesPerIteration(benchmark::State& state, std::size_t bytes) {
    state.SetBytesProcessed(std::int64_t(bytes) * state.iterations());
    state.counters["bytes"] = double(bytes);
}

void SpriteOurs(benchmark::State& state, Picture which) {
    if (!Ready(state)) return;
    const Blit blit = SpriteBlit(which);
    IDirectDrawSurface7* back = Island::Get().Back();
    DDSURFACEDESC2 desc{};
    desc.dwSize = sizeof desc;
    blit.surface->GetSurfaceDesc(&desc);
    RECT source{0, 0, LONG(desc.dwWidth), LONG(desc.dwHeight)};
    const auto visible = ClipBlit(source, blit.x, blit.y, W, H);
    RECT rect = visible->source;
    const DWORD flags = blit.keyed ? DDBLTFAST_SRCCOLORKEY : DDBLTFAST_NOCOLORKEY;
    for (auto _ : state) {
        const HRESULT result =
            back->BltFast(DWORD(visible->x), DWORD(visible->y), blit.surface, &rect, flags);
        if (FAILED(result)) {
            state.SkipWithError("BltFast failed");
            break;
        }
    }
    BytesPerIteration(state, MemcpyMirror::Get().Packed(blit).Bytes());
}

void SpriteSdl(benchmark::State& state, Picture which) {
    if (!Ready(state)) return;
    const Blit blit = SpriteBlit(which);
    SdlMirror& sdl = SdlMirror::Get();
    SDL_Surface* source = sdl.Surface(blit.surface, blit.keyed);
    for (auto _ : state) {
        SDL_Rect place{blit.x, blit.y, 0, 0};
        SDL_BlitSurface(source, nullptr, sdl.Screen(), &place);
    }
    BytesPerIteration(state, MemcpyMirror::Get().Packed(blit).Bytes());
}

void SpriteMemcpy(benchmark::State& state, Picture which) {
    if (!Ready(state)) return;
    const Blit blit = SpriteBlit(which);
    const PackedRows& packed = MemcpyMirror::Get().Packed(blit);
    std::vector<std::uint8_t> screen(std::size_t(W) * H * 4);
    for (auto _ : state) {
        packed.CopyTo(screen.data());
        benchmark::ClobberMemory();
    }
    BytesPerIteration(state, packed.Bytes());
    state.counters["rows"] = double(packed.rows.size());
    state.counters["runs"] = double(packed.runs);
}

// Clearing the screen: the device's colour fill, SDL's and memset.
void ClearOurs(benchmark::State& state) {
    if (!Ready(state)) return;
    for (auto _ : state) Island::Get().Clear();
    BytesPerIteration(state, std::size_t(W) * H * 4);
}

void ClearSdl(benchmark::State& state) {
    if (!Ready(state)) return;
    SDL_Surface* screen = SdlMirror::Get().Screen();
    for (auto _ : state) SDL_FillRect(screen, nullptr, 0);
    BytesPerIteration(state, std::size_t(W) * H * 4);
}

void ClearMemset(benchmark::State& state) {
    std::vector<std::uint8_t> screen(std::size_t(W) * H * 4);
    for (auto _ : state) {
        std::memset(screen.data(), 0, screen.size());
        benchmark::ClobberMemory();
    }
    BytesPerIteration(state, screen.size());
}

// ---------------------------------------------------------------------------
// The whole frame, cycling through the water frames as the scene does.

void FrameOurs(benchmark::State& state) {
    if (!Ready(state)) return;
    Island& island = Island::Get();
    int frame = 0;
    for (auto _ : state) {
        island.DrawOurs(frame);
        frame = (frame + 1) % kWaterFrames;
    }
    const std::string error = island.FirstError();
    if (!error.empty()) state.SkipWithError(error.c_str());
}

void FrameSdl(benchmark::State& state) {
    if (!Ready(state)) return;
    Island& island = Island::Get();
    SdlMirror& sdl = SdlMirror::Get();
    std::vector<std::vector<Blit>> frames;
    for (int frame = 0; frame < kWaterFrames; ++frame) {
        frames.push_back(island.Blits(frame));
        sdl.Draw(frames.back());  // makes and RLE-encodes every surface before timing
    }
    int frame = 0;
    for (auto _ : state) {
        sdl.Draw(frames[std::size_t(frame)]);
        frame = (frame + 1) % kWaterFrames;
    }
}

void FrameMemcpy(benchmark::State& state) {
    if (!Ready(state)) return;
    Island& island = Island::Get();
    MemcpyMirror& mirror = MemcpyMirror::Get();
    std::vector<std::vector<Blit>> frames;
    std::size_t written = 0;
    for (int frame = 0; frame < kWaterFrames; ++frame) {
        frames.push_back(island.Blits(frame));
        written = mirror.Draw(frames.back());
    }
    int frame = 0;
    for (auto _ : state) {
        mirror.Draw(frames[std::size_t(frame)]);
        benchmark::ClobberMemory();
        frame = (frame + 1) % kWaterFrames;
    }
    BytesPerIteration(state, written);
}

// Both frames must hold the same picture, or the comparison says nothing.
void FrameOursEqualsSdl(benchmark::State& state) {
    if (!Ready(state)) return;
    Island& island = Island::Get();
    SdlMirror& sdl = SdlMirror::Get();
    island.DrawOurs(5);
    sdl.Draw(island.Blits(5));
    const SurfaceCopy ours = ReadSurface(island.Back());
    const SDL_Surface* theirs = sdl.Screen();
    int differing = 0;
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            std::uint32_t pixel;
            std::memcpy(
                &pixel,
                static_cast<const std::uint8_t*>(theirs->pixels) + std::ptrdiff_t(y) * theirs->pitch + x * 4,
                4);
            differing += (pixel & 0xFFFFFF) != (ours.pixels[std::size_t(y) * W + x] & 0xFFFFFF);
        }
    for (auto _ : state) benchmark::DoNotOptimize(differing);
    state.counters["differing_pixels"] = differing;
    if (differing != 0) state.SkipWithError("our frame and SDL's differ");
}

// The machine is shared: the fastest repetition is the best estimate of the
// unloaded speed.
double Fastest(const std::vector<double>& times) { return *std::min_element(times.begin(), times.end()); }

}  // namespace

BENCHMARK(ClearOurs)->ComputeStatistics("min", Fastest);
BENCHMARK(ClearSdl)->ComputeStatistics("min", Fastest);
BENCHMARK(ClearMemset)->ComputeStatistics("min", Fastest);
BENCHMARK_CAPTURE(SpriteOurs, ground, Picture::Ground)->ComputeStatistics("min", Fastest);
BENCHMARK_CAPTURE(SpriteSdl, ground, Picture::Ground)->ComputeStatistics("min", Fastest);
BENCHMARK_CAPTURE(SpriteMemcpy, ground, Picture::Ground)->ComputeStatistics("min", Fastest);
BENCHMARK_CAPTURE(SpriteOurs, stone, Picture::Stone)->ComputeStatistics("min", Fastest);
BENCHMARK_CAPTURE(SpriteSdl, stone, Picture::Stone)->ComputeStatistics("min", Fastest);
BENCHMARK_CAPTURE(SpriteMemcpy, stone, Picture::Stone)->ComputeStatistics("min", Fastest);
BENCHMARK_CAPTURE(SpriteOurs, masktree, Picture::TreeMask)->ComputeStatistics("min", Fastest);
BENCHMARK_CAPTURE(SpriteSdl, masktree, Picture::TreeMask)->ComputeStatistics("min", Fastest);
BENCHMARK_CAPTURE(SpriteMemcpy, masktree, Picture::TreeMask)->ComputeStatistics("min", Fastest);
BENCHMARK_CAPTURE(SpriteOurs, dolphin, Picture::Dolphin)->ComputeStatistics("min", Fastest);
BENCHMARK_CAPTURE(SpriteSdl, dolphin, Picture::Dolphin)->ComputeStatistics("min", Fastest);
BENCHMARK_CAPTURE(SpriteMemcpy, dolphin, Picture::Dolphin)->ComputeStatistics("min", Fastest);
BENCHMARK_CAPTURE(SpriteOurs, gull, Picture::Gull)->ComputeStatistics("min", Fastest);
BENCHMARK_CAPTURE(SpriteSdl, gull, Picture::Gull)->ComputeStatistics("min", Fastest);
BENCHMARK_CAPTURE(SpriteMemcpy, gull, Picture::Gull)->ComputeStatistics("min", Fastest);
BENCHMARK(FrameOursEqualsSdl)->Iterations(1);
BENCHMARK(FrameOurs)->Unit(benchmark::kMicrosecond)->ComputeStatistics("min", Fastest);
BENCHMARK(FrameSdl)->Unit(benchmark::kMicrosecond)->ComputeStatistics("min", Fastest);
BENCHMARK(FrameMemcpy)->Unit(benchmark::kMicrosecond)->ComputeStatistics("min", Fastest);
