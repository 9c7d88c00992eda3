// Black windows over every screen but the saver's, so that nothing of the
// desktop stays visible on a second monitor while the saver runs.
#pragma once

#include <SDL_rect.h>
#include <SDL_video.h>

#include <memory>
#include <optional>
#include <vector>

namespace platform::sdl {

class ScreenCovers {
public:
    // Covers every screen but `exceptDisplay`, replacing earlier covers.
    void Cover(int exceptDisplay);
    void Clear();
    bool Owns(Uint32 windowId) const;
    // A point of one of the covers on the desktop.
    std::optional<SDL_Point> ToDesktop(Uint32 windowId, int x, int y) const;
    // Paints a cover black again (after the server lost its contents).
    void Repaint(Uint32 windowId) const;

private:
    struct Destroy {
        void operator()(SDL_Window* window) const { SDL_DestroyWindow(window); }
    };
    SDL_Window* Find(Uint32 windowId) const;
    std::vector<std::unique_ptr<SDL_Window, Destroy>> windows_;
};

}  // namespace platform::sdl
