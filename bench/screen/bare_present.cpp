// The bare cost of showing frames: a full-screen window at the desktop's
// size that SDL2's renderer shows 60 new frames a second, each frame's
// pixels handed over as a program that draws its own frames must. Run with
// SDL_RENDER_DRIVER=software and SDL_FRAMEBUFFER_ACCELERATION=0 it is SDL's
// software renderer drawing straight into the window. Runs until a signal.

#include <SDL.h>

#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <thread>
#include <vector>

namespace {

volatile std::sig_atomic_t stopping = 0;

void Stop(int) { stopping = 1; }

}  // namespace

int main() {
    std::signal(SIGTERM, Stop);
    std::signal(SIGINT, Stop);
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        std::fprintf(stderr, "bare_present: %s\n", SDL_GetError());
        return 1;
    }
    SDL_DisplayMode mode{};
    SDL_GetDesktopDisplayMode(0, &mode);
    SDL_Window* window = SDL_CreateWindow("bare present", 0, 0, mode.w, mode.h,
                                          SDL_WINDOW_FULLSCREEN_DESKTOP | SDL_WINDOW_BORDERLESS);
    SDL_Renderer* renderer = window != nullptr ? SDL_CreateRenderer(window, -1, 0) : nullptr;
    SDL_Texture* texture =
        renderer != nullptr
            ? SDL_CreateTexture(renderer, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING, mode.w, mode.h)
            : nullptr;
    if (texture == nullptr) {
        std::fprintf(stderr, "bare_present: %s\n", SDL_GetError());
        return 1;
    }
    // Two pictures shown in turn, so every frame is new to the screen.
    std::vector<std::vector<std::uint32_t>> pictures(
        2, std::vector<std::uint32_t>(std::size_t(mode.w) * mode.h));
    for (std::size_t i = 0; i < pictures[0].size(); ++i) {
        pictures[0][i] = 0x3070B0u + std::uint32_t(i % 64);
        pictures[1][i] = 0xB07030u + std::uint32_t(i % 64);
    }
    using Clock = std::chrono::steady_clock;
    const auto period = std::chrono::duration_cast<Clock::duration>(std::chrono::seconds(1)) / 60;
    Clock::time_point slot = Clock::now();
    for (long frame = 0; !stopping; ++frame) {
        SDL_Event event;
        while (SDL_PollEvent(&event) != 0) {
        }
        SDL_UpdateTexture(texture, nullptr, pictures[std::size_t(frame % 2)].data(), mode.w * 4);
        SDL_RenderClear(renderer);
        SDL_RenderCopy(renderer, texture, nullptr, nullptr);
        slot += period;
        if (slot < Clock::now()) slot = Clock::now();
        std::this_thread::sleep_until(slot);
        SDL_RenderPresent(renderer);
    }
    SDL_DestroyTexture(texture);
    SDL_DestroyRenderer(renderer);
    SDL_DestroyWindow(window);
    SDL_Quit();
    return 0;
}
