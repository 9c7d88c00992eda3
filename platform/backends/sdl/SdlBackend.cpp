#include "platform/backends/sdl/SdlBackend.h"

#include "platform/OfferedModes.h"
#include "platform/backends/sdl/ConnectRetry.h"
#include "platform/backends/sdl/ScreenCovers.h"
#include "platform/backends/sdl/SdlInput.h"
#include "platform/backends/sdl/StartupKeys.h"
#include "platform/backends/sdl/X11Windows.h"
#include "platform/directdraw/Presentation.h"
#include "platform/winapi/User.h"

#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <set>
#include <string>
#include <string_view>
#include <system_error>
#include <thread>
#include <tuple>
#include <vector>

namespace platform::sdl {

namespace {

struct SdlDeleter {
    void operator()(SDL_Window* window) const { SDL_DestroyWindow(window); }
    void operator()(SDL_Renderer* renderer) const { SDL_DestroyRenderer(renderer); }
    void operator()(SDL_Texture* texture) const { SDL_DestroyTexture(texture); }
    void operator()(SDL_Surface* surface) const { SDL_FreeSurface(surface); }
};

constexpr int kFallbackRefreshHz = 60;

// The window size of the --window mode, and its share of the desktop at most.
constexpr int kWindowedWidth = 1024;
constexpr int kWindowedHeight = 768;

// The smallest display mode in a host's window: the scene's text and
// figures are sized for a screen, so a small window gets a scaled-down one.
constexpr int kHostMinimumWidth = 640;
constexpr int kHostMinimumHeight = 480;

std::string WindowName(HWND window) {
    char text[32];
    std::snprintf(text, sizeof text, "0x%lx", static_cast<unsigned long>(window));
    return text;
}

// The storage of a pixel: 16, 24 or 32 (24-bit colour in 32-bit pixels is 32).
int DepthOf(Uint32 format) {
    const int depth = SDL_BYTESPERPIXEL(format) * 8;
    return depth != 0 ? depth : 32;
}

// The bounds of the screen a window is on.
SDL_Rect ScreenOf(SDL_Window* window) {
    SDL_Rect screen{0, 0, kWindowedWidth, kWindowedHeight};
    SDL_GetDisplayBounds(std::max(0, SDL_GetWindowDisplayIndex(window)), &screen);
    return screen;
}

// SDL's drivers that draw into memory only: chosen by name for tests, they
// are no display to run on.
bool ShowsNothing(const char* driver) {
    const std::string_view name = driver != nullptr ? driver : "";
    return name == "offscreen" || name == "dummy" || name == "evdev";
}

// The largest place of a frame's aspect inside an area, centred.
SDL_Rect Letterbox(int frameWidth, int frameHeight, int width, int height) {
    const double scale = std::min(double(width) / frameWidth, double(height) / frameHeight);
    const int shownWidth = std::max(1, int(frameWidth * scale));
    const int shownHeight = std::max(1, int(frameHeight * scale));
    return {(width - shownWidth) / 2, (height - shownHeight) / 2, shownWidth, shownHeight};
}

// A place in window pixels as the place in the frame shown at `shownAt`.
SDL_Point InFrame(const SDL_Rect& shownAt, int frameWidth, int frameHeight, SDL_Point at) {
    if (shownAt.w <= 0 || shownAt.h <= 0) return at;
    return {int(std::floor(double(at.x - shownAt.x) * frameWidth / shownAt.w)),
            int(std::floor(double(at.y - shownAt.y) * frameHeight / shownAt.h))};
}

void Place(SDL_Window* window, const SDL_Rect& place) {
    SDL_SetWindowSize(window, place.w, place.h);
    SDL_SetWindowPosition(window, place.x, place.y);
    // SDL learns a new size from the server's replies; it must know it
    // before it next places the window, or it places it by the old size.
    SDL_PumpEvents();
}

}  // namespace

struct SdlBackend::Window {
    // Destroyed in reverse: frame, texture, renderer, then the window.
    std::unique_ptr<SDL_Window, SdlDeleter> sdl;
    // A GPU's renderer, or none: frames then go into the window's own
    // surface, which SDL hands straight to the X server.
    std::unique_ptr<SDL_Renderer, SdlDeleter> renderer;
    std::unique_ptr<SDL_Texture, SdlDeleter> texture;
    int textureWidth = 0;
    int textureHeight = 0;
    // Without a renderer, a frame of another size than the window's is
    // converted here first and then scaled into the window's surface.
    std::unique_ptr<SDL_Surface, SdlDeleter> frame;
    // Where the last frame showed in the window, and its size, to map the
    // pointer back into the frame as the renderer's logical size does.
    SDL_Rect shownAt{};
    int frameWidth = 0;
    int frameHeight = 0;
    std::optional<FramePacer> pacer;
    HWND handle = 0;
    bool foreign = false;      // a host's window wrapped for drawing
    bool fullScreen = false;   // covers the screen (not in the windowed mode)
    SDL_Rect windowedPlace{};  // where it was before it covered the screen
    // Pointer motion counts as input only once the window is on screen:
    // the pointer "moves" into a window as it appears.
    bool shown = false;
    // Keys held down as the window was made are no input to it.
    StartupKeys startupKeys;
    // The other monitors, black while the window covers its own; their
    // input is the window's.
    ScreenCovers covers;
};

ScreenMode HostDisplayMode(int windowWidth, int windowHeight) {
    if (windowWidth <= 0 || windowHeight <= 0) {
        return {kHostMinimumWidth, kHostMinimumHeight, 32};
    }
    const double width = windowWidth;
    const double height = windowHeight;
    const double scale = std::max({1.0, kHostMinimumWidth / width, kHostMinimumHeight / height});
    return {int(std::lround(width * scale)), int(std::lround(height * scale)), 32};
}

bool Install(const Options& options, std::string* error) {
    auto backend = SdlBackend::Open(options, error);
    if (!backend) {
        return false;
    }
    InstallBackend(std::move(backend));
    return true;
}

std::unique_ptr<SdlBackend> SdlBackend::Open(const Options& options, std::string* error) {
    // SDL keeps the display awake by default; a saver must leave the
    // desktop's power saving alone. Signals stay with the program.
    SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
    SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (options.host) {
        // Before SDL starts, as SDL puts the handler it finds back as it
        // closes, when the errors of a window already gone arrive.
        X11Windows::TolerateErrors();
    }
    if (!ConnectWithRetries([] { return SDL_InitSubSystem(SDL_INIT_VIDEO) == 0; })) {
        if (error != nullptr) {
            *error = std::string("cannot open the display: ") + SDL_GetError();
        }
        return nullptr;
    }
    if (ShowsNothing(SDL_GetCurrentVideoDriver()) && SDL_GetHint(SDL_HINT_VIDEODRIVER) == nullptr) {
        // Without a screen SDL falls back to a driver that shows nothing: a
        // saver there would run unseen and for ever.
        if (error != nullptr) {
            *error = "cannot open the display: there is no screen to show on";
        }
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        return nullptr;
    }
    // When the software renderer is chosen, its window surface goes straight
    // to the X server instead of through a CPU-rasterised GL context. Wayland
    // has no window surface of its own: there SDL must make one of a texture,
    // or the window never gets a picture and is never shown.
    if (std::string_view(SDL_GetCurrentVideoDriver()) == "x11") {
        SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    }
    // After SDL's start, so that no handler of SDL's takes its place.
    X11Windows::EndProcessWhenServerLost();
    const Uint32 wakeEvent = SDL_RegisterEvents(1);
    if (wakeEvent == Uint32(-1)) {
        if (error != nullptr) {
            *error = "cannot open the display: no event type left for waking the message loop";
        }
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        return nullptr;
    }
    SDL_StartTextInput();
    auto backend = std::unique_ptr<SdlBackend>(new SdlBackend(options, wakeEvent));
    if (options.host && !backend->AttachHost(*options.host, error)) {
        return nullptr;
    }
    return backend;
}

bool SdlBackend::AttachHost(const HostWindow& host, std::string* error) {
    auto refuse = [error](std::string reason) {
        if (error != nullptr) {
            *error = std::move(reason);
        }
        return false;
    };
    if (!x11_) {
        return refuse("a host's window needs an X server, and none answers on $DISPLAY");
    }
    const HWND window = host.id ? HWND(*host.id) : x11_->Root();
    const auto state = x11_->State(window);
    if (!state) {
        return refuse("there is no X window " + WindowName(window) + " to draw into");
    }
    host_ = window;
    hostMode_ = HostDisplayMode(state->width, state->height);
    // And again over SDL's own handler, which makes requests of the server
    // from inside the handler and so hangs on an error while a frame waits
    // for its reply.
    X11Windows::TolerateErrors();
    return true;
}

SdlBackend::SdlBackend(const Options& options, Uint32 wakeEvent)
    : options_(options), wakeEvent_(wakeEvent), x11_(X11Windows::Connect()) {}

SdlBackend::~SdlBackend() {
    windows_.clear();
    x11_.reset();
    SDL_StopTextInput();
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

// --- the screen ----------------------------------------------------------------

ScreenMode SdlBackend::DesktopMode() const {
    if (host_ != 0) {
        return hostMode_;
    }
    SDL_DisplayMode mode{};
    if (SDL_GetDesktopDisplayMode(0, &mode) != 0) {
        return {kWindowedWidth, kWindowedHeight, 32};
    }
    return {mode.w, mode.h, DepthOf(mode.format)};
}

std::vector<ScreenMode> SdlBackend::OfferedModes() const {
    // Every mode is shown scaled on the desktop's own, so each size is
    // offered at every depth the surfaces support.
    const ScreenMode desktop = DesktopMode();
    std::vector<ModeSize> sizes{{desktop.width, desktop.height}};
    sizes.insert(sizes.end(), kFixedModeSizes.begin(), kFixedModeSizes.end());
    auto order = [](const ScreenMode& a, const ScreenMode& b) {
        return std::tie(a.width, a.height, a.bitsPerPixel) < std::tie(b.width, b.height, b.bitsPerPixel);
    };
    std::set<ScreenMode, decltype(order)> modes(order);
    for (const auto& [width, height] : sizes) {
        for (int depth : kOfferedDepths) {
            modes.insert({width, height, depth});
        }
    }
    return {modes.begin(), modes.end()};
}

int SdlBackend::MonitorCount() const {
    // A host runs a saver of its own on each of its monitors.
    if (host_ != 0) {
        return 1;
    }
    return std::max(1, SDL_GetNumVideoDisplays());
}

// --- windows -------------------------------------------------------------------

SdlBackend::Window* SdlBackend::Find(HWND window) const {
    const auto found = windows_.find(window);
    return found != windows_.end() ? found->second.get() : nullptr;
}

SdlBackend::Window* SdlBackend::FindBySdlId(Uint32 id) const {
    for (const auto& [handle, window] : windows_) {
        if (SDL_GetWindowID(window->sdl.get()) == id || window->covers.Owns(id)) {
            return window.get();
        }
    }
    return nullptr;
}

SDL_Window* SdlBackend::SdlWindowOf(HWND window) const {
    const Window* found = Find(window);
    return found != nullptr ? found->sdl.get() : nullptr;
}

HWND SdlBackend::CreateWindow(std::string_view caption) {
    if (host_ != 0 && !hostGiven_) {
        // The saver's window is the host's.
        hostGiven_ = true;
        return Drawable(host_) != nullptr ? host_ : 0;
    }
    const std::string title(caption);
    SDL_Window* created = SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, 640,
                                           480, SDL_WINDOW_HIDDEN | SDL_WINDOW_BORDERLESS);
    if (created == nullptr) {
        return 0;
    }
    auto window = std::make_unique<Window>();
    window->sdl.reset(created);
    window->startupKeys = StartupKeys(KeysDownNow(created));
    window->handle = X11IdOf(created).value_or(HWND(SDL_GetWindowID(created)));
    const HWND handle = window->handle;
    windows_[handle] = std::move(window);
    return handle;
}

void SdlBackend::DestroyWindow(HWND window) {
    // A wrapped host window is only let go; the X window stays its owner's.
    windows_.erase(window);
}

void SdlBackend::ShowWindow(HWND handle, bool visible) {
    Window* window = Find(handle);
    if (window == nullptr || window->foreign) {
        return;
    }
    if (visible) {
        SDL_ShowWindow(window->sdl.get());
        SDL_RaiseWindow(window->sdl.get());
    } else {
        SDL_HideWindow(window->sdl.get());
    }
}

bool SdlBackend::IsWindowVisible(HWND handle) {
    if (const Window* window = Find(handle); window != nullptr && !window->foreign) {
        return (SDL_GetWindowFlags(window->sdl.get()) & SDL_WINDOW_SHOWN) != 0;
    }
    return x11_ && x11_->Viewable(handle);
}

bool SdlBackend::WindowExists(HWND handle) {
    if (const Window* window = Find(handle); window != nullptr && !window->foreign) {
        return true;
    }
    return x11_ && x11_->Exists(handle);
}

void SdlBackend::SetSizeableBorder(HWND handle, bool sizeable) {
    Window* window = Find(handle);
    if (window == nullptr || window->foreign) {
        return;
    }
    SDL_SetWindowBordered(window->sdl.get(), sizeable ? SDL_TRUE : SDL_FALSE);
    SDL_SetWindowResizable(window->sdl.get(), sizeable ? SDL_TRUE : SDL_FALSE);
}

void SdlBackend::EnterFullScreen(HWND handle) {
    Window* window = Find(handle);
    if (window == nullptr || window->foreign) {
        return;
    }
    SDL_Window* sdl = window->sdl.get();
    const SDL_Rect screen = ScreenOf(sdl);
    if (options_.windowed) {
        SDL_SetWindowBordered(sdl, SDL_TRUE);
        SDL_SetWindowResizable(sdl, SDL_TRUE);
        const int width = std::min(kWindowedWidth, screen.w * 9 / 10);
        const int height = std::min(kWindowedHeight, screen.h * 9 / 10);
        Place(sdl, {screen.x + (screen.w - width) / 2, screen.y + (screen.h - height) / 2, width, height});
    } else if (!window->fullScreen) {
        // Without a window manager, full screen is only a wish: the window
        // also covers its screen by itself, and gets its place back later.
        SDL_Rect& before = window->windowedPlace;
        SDL_GetWindowPosition(sdl, &before.x, &before.y);
        SDL_GetWindowSize(sdl, &before.w, &before.h);
        Place(sdl, screen);
        SDL_SetWindowFullscreen(sdl, SDL_WINDOW_FULLSCREEN_DESKTOP);
        window->covers.Cover(SDL_GetWindowDisplayIndex(sdl));
        window->fullScreen = true;
    }
    SDL_ShowWindow(sdl);
    SDL_RaiseWindow(sdl);
}

void SdlBackend::LeaveFullScreen(HWND handle) {
    Window* window = Find(handle);
    if (window == nullptr || !window->fullScreen) {
        return;
    }
    window->covers.Clear();
    SDL_SetWindowFullscreen(window->sdl.get(), 0);
    Place(window->sdl.get(), window->windowedPlace);
    window->fullScreen = false;
}

void SdlBackend::ShowCursor(bool visible) {
    // The pointer over a host's window is the host's business.
    if (host_ != 0) {
        return;
    }
    SDL_ShowCursor(visible ? SDL_ENABLE : SDL_DISABLE);
}

// --- drawing -------------------------------------------------------------------

SdlBackend::Window* SdlBackend::Drawable(HWND handle) {
    if (Window* window = Find(handle)) {
        return window;
    }
    if (!x11_ || !x11_->Exists(handle)) {
        return nullptr;
    }
    SDL_Window* wrapped = SDL_CreateWindowFrom(reinterpret_cast<const void*>(handle));
    if (wrapped == nullptr) {
        return nullptr;
    }
    auto window = std::make_unique<Window>();
    window->sdl.reset(wrapped);
    window->handle = handle;
    window->foreign = true;
    window->shown = true;
    Window* raw = window.get();
    windows_[handle] = std::move(window);
    return raw;
}

FramePacer::Clock::duration SdlBackend::RefreshPeriod(SDL_Window* window) const {
    SDL_DisplayMode mode{};
    const int display = std::max(0, SDL_GetWindowDisplayIndex(window));
    int hz = kFallbackRefreshHz;
    if (SDL_GetCurrentDisplayMode(display, &mode) == 0 && mode.refresh_rate > 0) {
        hz = mode.refresh_rate;
    }
    return std::chrono::duration_cast<FramePacer::Clock::duration>(std::chrono::seconds(1)) / hz;
}

namespace {

// Whether a GPU may draw for this process. Without a DRI or NVIDIA device
// node, GL could only be a rasteriser on the CPU, and making a context just
// to find that out costs the start a large library and a GL context.
bool GpuMayBePresent() {
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/dev/dri", error)) {
        const std::string name = entry.path().filename().string();
        if (name.starts_with("card") || name.starts_with("renderD")) return true;
    }
    return std::filesystem::exists("/dev/nvidia0", error);
}

// Whether an "accelerated" GL renderer is really a rasteriser on the CPU
// (Mesa's llvmpipe or softpipe, as in virtual machines).
bool RasterisesInSoftware(SDL_Renderer* renderer) {
    SDL_RendererInfo info{};
    if (SDL_GetRendererInfo(renderer, &info) != 0) return false;
    if (std::string_view(info.name).find("opengl") == std::string_view::npos) return false;
    using GetString = const unsigned char* (*)(unsigned int);
    auto getString = reinterpret_cast<GetString>(SDL_GL_GetProcAddress("glGetString"));
    if (getString == nullptr) return false;
    constexpr unsigned int kGlRenderer = 0x1F01;
    const auto* name = reinterpret_cast<const char*>(getString(kGlRenderer));
    if (name == nullptr) return false;
    const std::string_view text(name);
    return text.find("llvmpipe") != text.npos || text.find("softpipe") != text.npos ||
           text.find("Software Rasterizer") != text.npos;
}

// A GPU's renderer for the window, or null where frames are better put into
// the window's surface by the processor itself.
SDL_Renderer* MakeGpuRenderer(SDL_Window* window) {
    if (!GpuMayBePresent()) return nullptr;
    SDL_Renderer* renderer =
        SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC);
    if (renderer != nullptr && RasterisesInSoftware(renderer)) {
        // GL drawn by the CPU costs cores for a plain scaled copy.
        SDL_DestroyRenderer(renderer);
        return nullptr;
    }
    return renderer;
}

bool IsXrgb8888(const SDL_Surface* surface) {
    return surface->format->format == SDL_PIXELFORMAT_RGB888 ||
           surface->format->format == SDL_PIXELFORMAT_ARGB8888;
}

}  // namespace

bool SdlBackend::PreparePresenter(Window& window, int width, int height) {
    if (!window.pacer) {
        window.renderer.reset(MakeGpuRenderer(window.sdl.get()));
        SDL_RendererInfo info{};
        const bool vsync = window.renderer && SDL_GetRendererInfo(window.renderer.get(), &info) == 0 &&
                           (info.flags & SDL_RENDERER_PRESENTVSYNC) != 0;
        window.pacer.emplace(RefreshPeriod(window.sdl.get()), vsync);
    }
    if (!window.renderer) return true;
    if (!window.texture || window.textureWidth != width || window.textureHeight != height) {
        window.texture.reset();
        SDL_Texture* texture = SDL_CreateTexture(window.renderer.get(), SDL_PIXELFORMAT_RGB888,
                                                 SDL_TEXTUREACCESS_STREAMING, width, height);
        if (texture == nullptr) {
            return false;
        }
        SDL_SetTextureScaleMode(texture, SDL_ScaleModeLinear);
        window.texture.reset(texture);
        window.textureWidth = width;
        window.textureHeight = height;
        // The frame keeps its aspect inside the window, with black bars;
        // this also maps pointer positions back into the frame.
        SDL_RenderSetLogicalSize(window.renderer.get(), width, height);
    }
    return true;
}

bool SdlBackend::PresentThroughRenderer(Window& window, const PixelView& frame, const DDGAMMARAMP& ramp) {
    void* pixels = nullptr;
    int pitch = 0;
    if (SDL_LockTexture(window.texture.get(), nullptr, &pixels, &pitch) != 0) {
        return false;
    }
    const bool converted = ConvertFrame(frame, ramp, static_cast<std::uint32_t*>(pixels), pitch);
    SDL_UnlockTexture(window.texture.get());
    if (!converted) {
        return false;
    }
    SDL_Renderer* renderer = window.renderer.get();
    SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
    SDL_RenderClear(renderer);
    SDL_RenderCopy(renderer, window.texture.get(), nullptr, nullptr);
    std::this_thread::sleep_until(window.pacer->Slot(FramePacer::Clock::now()));
    SDL_RenderPresent(renderer);
    return true;
}

// One pass from the frame into the window's surface when the sizes agree;
// else through a frame of its own, scaled into the surface with black bars.
bool SdlBackend::PresentIntoWindowSurface(Window& window, const PixelView& frame, const DDGAMMARAMP& ramp) {
    SDL_Surface* screen = SDL_GetWindowSurface(window.sdl.get());
    if (screen == nullptr) {
        return false;
    }
    window.frameWidth = frame.width;
    window.frameHeight = frame.height;
    if (screen->w == frame.width && screen->h == frame.height && IsXrgb8888(screen)) {
        window.shownAt = {0, 0, frame.width, frame.height};
        window.frame.reset();  // a window that grew to the frame's size needs it no more
        if (!ConvertFrame(frame, ramp, static_cast<std::uint32_t*>(screen->pixels), screen->pitch)) {
            return false;
        }
    } else {
        if (!window.frame || window.frame->w != frame.width || window.frame->h != frame.height) {
            window.frame.reset(
                SDL_CreateRGBSurfaceWithFormat(0, frame.width, frame.height, 32, SDL_PIXELFORMAT_RGB888));
            if (!window.frame) {
                return false;
            }
        }
        SDL_Surface* converted = window.frame.get();
        if (!ConvertFrame(frame, ramp, static_cast<std::uint32_t*>(converted->pixels), converted->pitch)) {
            return false;
        }
        window.shownAt = Letterbox(frame.width, frame.height, screen->w, screen->h);
        SDL_FillRect(screen, nullptr, SDL_MapRGB(screen->format, 0, 0, 0));
        const bool stretched = IsXrgb8888(screen)
                                   ? SDL_SoftStretchLinear(converted, nullptr, screen, &window.shownAt) == 0
                                   : SDL_BlitScaled(converted, nullptr, screen, &window.shownAt) == 0;
        if (!stretched) {
            return false;
        }
    }
    std::this_thread::sleep_until(window.pacer->Slot(FramePacer::Clock::now()));
    return SDL_UpdateWindowSurface(window.sdl.get()) == 0;
}

void SdlBackend::Present(HWND handle, const PixelView& frame, const DDGAMMARAMP& ramp) {
    Window* window = Drawable(handle);
    if (window == nullptr || frame.pixels == nullptr || frame.width <= 0 || frame.height <= 0) {
        return;
    }
    const Uint32 flags = SDL_GetWindowFlags(window->sdl.get());
    const bool onScreen = window->foreign
                              ? FollowForeignWindow(*window)
                              : (flags & SDL_WINDOW_SHOWN) != 0 && (flags & SDL_WINDOW_MINIMIZED) == 0;
    if (!onScreen || !PreparePresenter(*window, frame.width, frame.height)) {
        // Nothing to show: still take a frame's time, so a loop that draws
        // as fast as it can does not spin.
        std::this_thread::sleep_for(RefreshPeriod(window->sdl.get()));
        return;
    }
    const bool shown = window->renderer ? PresentThroughRenderer(*window, frame, ramp)
                                        : PresentIntoWindowSurface(*window, frame, ramp);
    if (shown) {
        window->pacer->Presented(FramePacer::Clock::now());
    }
}

bool SdlBackend::FollowForeignWindow(Window& window) {
    // SDL follows neither the mapping nor the size of a window it did not
    // make: the X server is asked directly.
    const auto state = x11_->State(window.handle);
    if (!state) {
        if (window.handle == host_ && !hostGone_) {
            hostGone_ = true;
            pending_.push_back({.kind = EventKind::Close, .window = host_});
        }
        return false;
    }
    int width = 0;
    int height = 0;
    SDL_GetWindowSize(window.sdl.get(), &width, &height);
    if (width != state->width || height != state->height) {
        SDL_Window* wrapped = SDL_CreateWindowFrom(reinterpret_cast<const void*>(window.handle));
        if (wrapped == nullptr) {
            return false;
        }
        window.frame.reset();
        window.texture.reset();
        window.renderer.reset();
        window.pacer.reset();
        window.sdl.reset(wrapped);
    }
    return state->viewable;
}

bool SdlBackend::PaintBitmap(HWND window, int x, int y, const TBitmap& picture) {
    return x11_ && x11_->Paint(window, x, y, picture);
}

// --- events --------------------------------------------------------------------

void SdlBackend::LoseSurfacesIfFullScreen(const Window& window) const {
    if (window.fullScreen) {
        LoseAllSurfaces();
    }
}

void SdlBackend::TranslateWindowEvent(const SDL_WindowEvent& event) {
    Window* window = FindBySdlId(event.windowID);
    if (window == nullptr) {
        return;
    }
    if (window->covers.Owns(event.windowID)) {
        if (event.event == SDL_WINDOWEVENT_EXPOSED || event.event == SDL_WINDOWEVENT_SIZE_CHANGED) {
            window->covers.Repaint(event.windowID);
        }
        return;
    }
    switch (event.event) {
    case SDL_WINDOWEVENT_SHOWN:
        window->shown = true;
        break;
    case SDL_WINDOWEVENT_HIDDEN:
    case SDL_WINDOWEVENT_MINIMIZED:
    case SDL_WINDOWEVENT_FOCUS_LOST:
    case SDL_WINDOWEVENT_DISPLAY_CHANGED:
        // The screen was taken from the full-screen window.
        LoseSurfacesIfFullScreen(*window);
        break;
    case SDL_WINDOWEVENT_CLOSE:
        pending_.push_back({.kind = EventKind::Close, .window = window->handle});
        break;
    default:
        break;
    }
}

void SdlBackend::Translate(const SDL_Event& event) {
    switch (event.type) {
    case SDL_QUIT:
        pending_.push_back({.kind = EventKind::Close, .window = 0});
        break;
    case SDL_WINDOWEVENT:
        TranslateWindowEvent(event.window);
        break;
    case SDL_DISPLAYEVENT:
        for (const auto& [handle, window] : windows_) {
            LoseSurfacesIfFullScreen(*window);
        }
        break;
    case SDL_RENDER_DEVICE_RESET:
        // Everything made by the renderers is gone; they are made again on
        // the next present.
        for (const auto& [handle, window] : windows_) {
            window->texture.reset();
            window->renderer.reset();
        }
        break;
    case SDL_KEYDOWN:
        if (const Window* window = FindBySdlId(event.key.windowID);
            window != nullptr && !window->startupKeys.Holding()) {
            const SDL_Keycode key = event.key.keysym.sym;
            pending_.push_back({.kind = EventKind::KeyDown,
                                .window = window->handle,
                                .virtualKey = VirtualKeyOf(key),
                                .shift = ShiftStateOf(event.key.keysym.mod)});
            if (const char typed = ControlCharacterOf(key)) {
                pending_.push_back(
                    {.kind = EventKind::Character, .window = window->handle, .character = typed});
            }
        }
        break;
    case SDL_KEYUP:
        if (Window* window = FindBySdlId(event.key.windowID);
            window != nullptr && window->startupKeys.Holding()) {
            window->startupKeys.KeyReleased(KeysDownNow(window->sdl.get()));
        }
        break;
    case SDL_TEXTINPUT:
        if (const Window* window = FindBySdlId(event.text.windowID);
            window != nullptr && !window->startupKeys.Holding()) {
            for (const char typed : AnsiFromUtf8(event.text.text)) {
                pending_.push_back(
                    {.kind = EventKind::Character, .window = window->handle, .character = typed});
            }
        }
        break;
    case SDL_MOUSEMOTION:
        if (const Window* window = FindBySdlId(event.motion.windowID);
            window != nullptr && window->shown && (event.motion.xrel != 0 || event.motion.yrel != 0)) {
            SDL_Point at{event.motion.x, event.motion.y};
            // Over another monitor: the place relative to the window's own.
            if (const auto onDesktop = window->covers.ToDesktop(event.motion.windowID, at.x, at.y)) {
                SDL_Point origin{};
                SDL_GetWindowPosition(window->sdl.get(), &origin.x, &origin.y);
                at = {onDesktop->x - origin.x, onDesktop->y - origin.y};
            } else if (!window->renderer) {
                at = InFrame(window->shownAt, window->frameWidth, window->frameHeight, at);
            }
            pending_.push_back({.kind = EventKind::MouseMove,
                                .window = window->handle,
                                .shift = ShiftStateOf(Uint16(SDL_GetModState())),
                                .x = at.x,
                                .y = at.y});
        }
        break;
    default:
        break;
    }
}

bool SdlBackend::PollEvent(WindowEvent& event) {
    SDL_Event sdlEvent;
    while (pending_.empty() && SDL_PollEvent(&sdlEvent) != 0) {
        Translate(sdlEvent);
    }
    if (pending_.empty()) {
        return false;
    }
    event = pending_.front();
    pending_.pop_front();
    return true;
}

void SdlBackend::WaitEvent(int timeoutMs) {
    if (!pending_.empty()) {
        return;
    }
    SDL_WaitEventTimeout(nullptr, timeoutMs);
}

void SdlBackend::Wake() {
    SDL_Event event{};
    event.type = wakeEvent_;
    SDL_PushEvent(&event);
}

int SdlBackend::ShowMessageBox(HWND owner, std::string_view text, std::string_view caption, UINT type) {
    if (host_ != 0) {
        // Nobody could answer a box behind a host's window; its log is read.
        std::cerr << "tidereach: " << caption << ": " << text << "\n";
        return IDOK;
    }
    Uint32 flags = SDL_MESSAGEBOX_INFORMATION;
    if ((type & 0xF0) == MB_ICONERROR) {
        flags = SDL_MESSAGEBOX_ERROR;
    } else if ((type & 0xF0) == MB_ICONWARNING) {
        flags = SDL_MESSAGEBOX_WARNING;
    }
    // A full-screen window may cover the box and, without a window manager,
    // hold the keyboard and pointer: it steps back while the box is up.
    std::vector<HWND> covering;
    for (const auto& [handle, window] : windows_) {
        if (window->fullScreen) {
            covering.push_back(handle);
        }
    }
    for (const HWND handle : covering) {
        LeaveFullScreen(handle);
    }
    const Window* parent = Find(owner);
    SDL_Window* parentWindow =
        parent != nullptr && (SDL_GetWindowFlags(parent->sdl.get()) & SDL_WINDOW_SHOWN) != 0
            ? parent->sdl.get()
            : nullptr;
    const std::string shownText(text);
    const std::string shownCaption(caption);
    SDL_ShowSimpleMessageBox(flags, shownCaption.c_str(), shownText.c_str(), parentWindow);
    for (const HWND handle : covering) {
        EnterFullScreen(handle);
    }
    return IDOK;
}

}  // namespace platform::sdl
