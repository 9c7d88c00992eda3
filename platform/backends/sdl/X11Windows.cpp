#include "platform/backends/sdl/X11Windows.h"

#include "platform/backends/sdl/ConnectRetry.h"

#include <SDL_syswm.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <unistd.h>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstdlib>
#include <mutex>

namespace platform::sdl {

struct X11Windows::Connection {
    Display* display = nullptr;
    ~Connection() {
        if (display != nullptr) {
            XCloseDisplay(display);
        }
    }
};

namespace {

// Xlib reports errors through one process-wide handler whose default ends
// the process; while a trap is set, errors are only counted.
std::mutex trapLock;
int trappedErrors = 0;

int CountError(Display*, XErrorEvent*) {
    ++trappedErrors;
    return 0;
}

int IgnoreError(Display*, XErrorEvent*) { return 0; }

constexpr int kServerLostExitCode = 1;

int EndProcess(Display*) {
    static constexpr char kMessage[] = "tidereach: the connection to the X server was lost\n";
    [[maybe_unused]] const ssize_t written = write(STDERR_FILENO, kMessage, sizeof kMessage - 1);
    _exit(kServerLostExitCode);
}

// SDL's facts about a window, when SDL drives an X server.
std::optional<SDL_SysWMinfo> X11InfoOf(SDL_Window* window) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (window == nullptr || !SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) {
        return std::nullopt;
    }
    return info;
}

class ErrorTrap {
public:
    explicit ErrorTrap(Display* display) : guard_(trapLock), display_(display) {
        XSync(display_, False);
        trappedErrors = 0;
        previous_ = XSetErrorHandler(CountError);
    }
    ~ErrorTrap() {
        XSync(display_, False);
        XSetErrorHandler(previous_);
    }
    ErrorTrap(const ErrorTrap&) = delete;
    ErrorTrap& operator=(const ErrorTrap&) = delete;

    // Whether any request made since the trap was set failed.
    bool Failed() {
        XSync(display_, False);
        return trappedErrors != 0;
    }

private:
    std::lock_guard<std::mutex> guard_;
    Display* display_;
    XErrorHandler previous_ = nullptr;
};

std::optional<XWindowAttributes> AttributesOf(Display* display, HWND window) {
    ErrorTrap trap(display);
    XWindowAttributes attributes{};
    const Status status = XGetWindowAttributes(display, Window(window), &attributes);
    if (status == 0 || trap.Failed()) {
        return std::nullopt;
    }
    return attributes;
}

// One 8-bit channel placed into the bits of `mask`.
unsigned long Channel(std::uint32_t value, unsigned long mask) {
    if (mask == 0) {
        return 0;
    }
    const int shift = std::countr_zero(mask);
    const int bits = std::popcount(mask);
    const unsigned long scaled = bits <= 8 ? value >> (8 - bits) : value << (bits - 8);
    return (scaled << shift) & mask;
}

}  // namespace

X11Windows::X11Windows(std::unique_ptr<Connection> connection) : connection_(std::move(connection)) {}

X11Windows::~X11Windows() = default;

std::unique_ptr<X11Windows> X11Windows::Connect() {
    if (std::getenv("DISPLAY") == nullptr) {
        return nullptr;
    }
    auto connection = std::make_unique<Connection>();
    connection->display = ConnectWithRetries([] { return XOpenDisplay(nullptr); });
    if (connection->display == nullptr) {
        return nullptr;
    }
    return std::unique_ptr<X11Windows>(new X11Windows(std::move(connection)));
}

bool X11Windows::Exists(HWND window) {
    return window != 0 && AttributesOf(connection_->display, window).has_value();
}

bool X11Windows::Viewable(HWND window) {
    const auto state = State(window);
    return state && state->viewable;
}

std::optional<X11WindowState> X11Windows::State(HWND window) {
    const auto attributes = window != 0 ? AttributesOf(connection_->display, window) : std::nullopt;
    if (!attributes) {
        return std::nullopt;
    }
    return X11WindowState{attributes->map_state == IsViewable, attributes->width, attributes->height};
}

HWND X11Windows::Root() const { return HWND(DefaultRootWindow(connection_->display)); }

void X11Windows::TolerateErrors() {
    std::lock_guard<std::mutex> guard(trapLock);
    XSetErrorHandler(IgnoreError);
}

void X11Windows::EndProcessWhenServerLost() { XSetIOErrorHandler(EndProcess); }

bool X11Windows::Paint(HWND window, int x, int y, const TBitmap& picture) {
    Display* display = connection_->display;
    const auto attributes = window != 0 ? AttributesOf(display, window) : std::nullopt;
    if (!attributes) {
        return false;
    }
    Visual* visual = attributes->visual;
    if (visual->c_class != TrueColor && visual->c_class != DirectColor) {
        return false;
    }
    if (picture.Empty()) {
        return true;
    }
    XImage* image = XCreateImage(display, visual, unsigned(attributes->depth), ZPixmap, 0, nullptr,
                                 unsigned(picture.Width()), unsigned(picture.Height()), 32, 0);
    if (image == nullptr) {
        return false;
    }
    image->data = static_cast<char*>(std::malloc(std::size_t(image->bytes_per_line) * picture.Height()));
    if (image->data == nullptr) {
        XDestroyImage(image);
        return false;
    }
    // Bits of the depth that no colour uses (the alpha of a 32-bit visual)
    // are set, so a compositor shows the picture opaque.
    const unsigned long depthBits = attributes->depth >= 32 ? 0xFFFFFFFFul : (1ul << attributes->depth) - 1;
    const unsigned long spare = depthBits & ~(visual->red_mask | visual->green_mask | visual->blue_mask);
    for (int row = 0; row < picture.Height(); ++row) {
        const auto pixels = picture.Row(row);
        for (int column = 0; column < picture.Width(); ++column) {
            const std::uint32_t rgb = pixels[std::size_t(column)];
            const unsigned long value = Channel((rgb >> 16) & 0xFF, visual->red_mask) |
                                        Channel((rgb >> 8) & 0xFF, visual->green_mask) |
                                        Channel(rgb & 0xFF, visual->blue_mask) | spare;
            XPutPixel(image, column, row, value);
        }
    }
    bool painted = false;
    {
        ErrorTrap trap(display);
        GC context = XCreateGC(display, Window(window), 0, nullptr);
        XPutImage(display, Window(window), context, image, 0, 0, x, y, unsigned(picture.Width()),
                  unsigned(picture.Height()));
        XFreeGC(display, context);
        painted = !trap.Failed();
    }
    XDestroyImage(image);
    return painted;
}

std::optional<HWND> X11IdOf(SDL_Window* window) {
    if (const auto info = X11InfoOf(window)) {
        return HWND(info->info.x11.window);
    }
    return std::nullopt;
}

KeyBitmap KeysDownNow(SDL_Window* window) {
    KeyBitmap down{};
    if (const auto info = X11InfoOf(window)) {
        char keys[32];
        XQueryKeymap(info->info.x11.display, keys);
        std::copy(std::begin(keys), std::end(keys), down.begin());
    }
    return down;
}

}  // namespace platform::sdl
