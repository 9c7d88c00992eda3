// Windows of other programs on the X server, by id: whether they exist and
// are viewable, and painting a picture into one (the preview). Also the X
// id behind an SDL window. Xlib stays inside this unit.
#pragma once

#include "platform/backends/sdl/StartupKeys.h"
#include "platform/forms/Bitmap.h"
#include "platform/winapi/WinTypes.h"

#include <SDL_video.h>

#include <memory>
#include <optional>

namespace platform::sdl {

struct X11WindowState {
    bool viewable = false;  // mapped, and all its ancestors mapped
    int width = 0;
    int height = 0;
};

class X11Windows {
public:
    // A connection of our own to the X server of $DISPLAY; nullptr when
    // there is none.
    static std::unique_ptr<X11Windows> Connect();
    ~X11Windows();
    X11Windows(const X11Windows&) = delete;
    X11Windows& operator=(const X11Windows&) = delete;

    // A window that was destroyed, or an id that never named one, answers
    // false (the X error is caught, never fatal).
    bool Exists(HWND window);
    // Mapped, and all its ancestors mapped.
    bool Viewable(HWND window);
    // Nothing when the window is gone.
    std::optional<X11WindowState> State(HWND window);
    // The root window of the default screen.
    HWND Root() const;
    // From now on an X error of any connection of the process is ignored
    // instead of ending the process: a host may destroy its window while
    // a frame is being drawn into it.
    static void TolerateErrors();
    // From now on the loss of the X server (the session ends, the server
    // dies) ends the process at once with a non-zero exit code. Nothing
    // runs on the way out, no exit handler and no destructor, since all of
    // them would wait for answers of the dead server.
    static void EndProcessWhenServerLost();
    // Draws the picture unscaled with its top-left corner at (x, y) of the
    // window, clipped to it; false when the window is gone or its visual is
    // not true colour.
    bool Paint(HWND window, int x, int y, const TBitmap& picture);

private:
    struct Connection;
    explicit X11Windows(std::unique_ptr<Connection> connection);
    std::unique_ptr<Connection> connection_;
};

// The X window behind an SDL window, when SDL drives an X server.
std::optional<HWND> X11IdOf(SDL_Window* window);

// The keys down now on the X server behind the window; none without one.
KeyBitmap KeysDownNow(SDL_Window* window);

}  // namespace platform::sdl
