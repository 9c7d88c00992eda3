// The back end on SDL2: the real screen, keyboard and mouse, message boxes,
// and windows of other programs through the X server. Internal to platform/
// (and its tests); the rest of the program opens it through Sdl.h.
#pragma once

#include "platform/FramePacer.h"
#include "platform/backends/sdl/Sdl.h"
#include "platform/seam/Backend.h"

#include <SDL_events.h>
#include <SDL_video.h>

#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <string>

namespace platform::sdl {

class X11Windows;

class SdlBackend final : public Backend {
public:
    // nullptr, with the reason in `error`, when no display can be opened.
    static std::unique_ptr<SdlBackend> Open(const Options& options, std::string* error = nullptr);
    ~SdlBackend() override;
    SdlBackend(const SdlBackend&) = delete;
    SdlBackend& operator=(const SdlBackend&) = delete;

    // The desktop's depth is reported as the storage of its pixels: a 24-bit
    // colour desktop kept in 32-bit pixels is a 32-bit mode, as the
    // original platform counts it. With a host's window, its mode.
    ScreenMode DesktopMode() const override;
    std::vector<ScreenMode> OfferedModes() const override;
    int MonitorCount() const override;
    // The ramp is applied to every presented frame; the display's own gamma
    // is never touched.
    bool SupportsGamma() const override { return true; }

    // Our windows are borderless and hidden until shown. Their handles are
    // their X ids where SDL drives an X server, else SDL's window ids.
    HWND CreateWindow(std::string_view caption) override;
    void DestroyWindow(HWND window) override;
    void ShowWindow(HWND window, bool visible) override;
    bool IsWindowVisible(HWND window) override;
    bool WindowExists(HWND window) override;
    void SetSizeableBorder(HWND window, bool sizeable) override;
    // Full screen on the desktop's own mode (the video mode never changes),
    // or, with Options::windowed, an ordinary window. Windows of other
    // programs are left as they are.
    void EnterFullScreen(HWND window) override;
    void LeaveFullScreen(HWND window) override;
    void ShowCursor(bool visible) override;

    // Also draws into a screensaver host's window, given its X id, and
    // follows it when it is resized; a host's window that is gone closes
    // the form drawing into it.
    void Present(HWND window, const PixelView& frame, const DDGAMMARAMP& ramp) override;
    bool PaintBitmap(HWND window, int x, int y, const TBitmap& picture) override;

    bool PollEvent(WindowEvent& event) override;
    void WaitEvent(int timeoutMs) override;
    void Wake() override;

    // A simple modal box; answers IDOK, also when none could be shown.
    int ShowMessageBox(HWND owner, std::string_view text, std::string_view caption, UINT type) override;

    // The SDL window behind a handle, or null.
    SDL_Window* SdlWindowOf(HWND window) const;

private:
    struct Window;

    SdlBackend(const Options& options, Uint32 wakeEvent);
    bool AttachHost(const HostWindow& host, std::string* error);
    Window* Find(HWND window) const;
    Window* FindBySdlId(Uint32 id) const;
    // Our window, or a host's window wrapped for drawing on first use.
    Window* Drawable(HWND window);
    // A host's window as it is now: wrapped anew after a resize, which SDL
    // does not follow in windows it did not make. False when it is gone.
    bool FollowForeignWindow(Window& window);
    // A GPU's renderer and texture, or the window's surface; the pacer.
    bool PreparePresenter(Window& window, int width, int height);
    bool PresentThroughRenderer(Window& window, const PixelView& frame, const DDGAMMARAMP& ramp);
    bool PresentIntoWindowSurface(Window& window, const PixelView& frame, const DDGAMMARAMP& ramp);
    FramePacer::Clock::duration RefreshPeriod(SDL_Window* window) const;
    void Translate(const SDL_Event& event);
    void TranslateWindowEvent(const SDL_WindowEvent& event);
    void LoseSurfacesIfFullScreen(const Window& window) const;

    Options options_;
    Uint32 wakeEvent_;
    std::map<HWND, std::unique_ptr<Window>> windows_;
    std::deque<WindowEvent> pending_;
    std::unique_ptr<X11Windows> x11_;
    HWND host_ = 0;           // the host's window, in host mode
    ScreenMode hostMode_{};   // the display mode it gives
    bool hostGiven_ = false;  // handed out by CreateWindow
    bool hostGone_ = false;
};

}  // namespace platform::sdl
