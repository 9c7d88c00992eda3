#include "platform/backends/sdl/ScreenCovers.h"

#include <SDL_surface.h>

namespace platform::sdl {

namespace {

void PaintBlack(SDL_Window* window) {
    if (SDL_Surface* surface = SDL_GetWindowSurface(window)) {
        SDL_FillRect(surface, nullptr, SDL_MapRGB(surface->format, 0, 0, 0));
        SDL_UpdateWindowSurface(window);
    }
}

}  // namespace

void ScreenCovers::Cover(int exceptDisplay) {
    Clear();
    const int displays = SDL_GetNumVideoDisplays();
    for (int display = 0; display < displays; ++display) {
        SDL_Rect bounds{};
        if (display == exceptDisplay || SDL_GetDisplayBounds(display, &bounds) != 0) {
            continue;
        }
        SDL_Window* cover = SDL_CreateWindow("", bounds.x, bounds.y, bounds.w, bounds.h,
                                             SDL_WINDOW_BORDERLESS | SDL_WINDOW_SKIP_TASKBAR);
        if (cover == nullptr) {
            continue;
        }
        windows_.emplace_back(cover);
        SDL_SetWindowFullscreen(cover, SDL_WINDOW_FULLSCREEN_DESKTOP);
        PaintBlack(cover);
    }
}

void ScreenCovers::Clear() { windows_.clear(); }

SDL_Window* ScreenCovers::Find(Uint32 windowId) const {
    for (const auto& window : windows_) {
        if (SDL_GetWindowID(window.get()) == windowId) {
            return window.get();
        }
    }
    return nullptr;
}

bool ScreenCovers::Owns(Uint32 windowId) const { return Find(windowId) != nullptr; }

std::optional<SDL_Point> ScreenCovers::ToDesktop(Uint32 windowId, int x, int y) const {
    SDL_Window* window = Find(windowId);
    if (window == nullptr) {
        return std::nullopt;
    }
    SDL_Point origin{};
    SDL_GetWindowPosition(window, &origin.x, &origin.y);
    return SDL_Point{origin.x + x, origin.y + y};
}

void ScreenCovers::Repaint(Uint32 windowId) const {
    if (SDL_Window* window = Find(windowId)) {
        PaintBlack(window);
    }
}

}  // namespace platform::sdl
