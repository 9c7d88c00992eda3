// The seam between the platform's Windows operations and a real or headless
// screen. One back end is installed per process, before any window or
// display device is made.
#pragma once

#include "platform/winapi/DirectDraw.h"
#include "platform/winapi/WinTypes.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

class TBitmap;

namespace platform {

struct ScreenMode {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 0;
    friend bool operator==(const ScreenMode&, const ScreenMode&) = default;
};

// A read-only view of a surface's pixels in its own format.
struct PixelView {
    const std::uint8_t* pixels = nullptr;
    int width = 0;
    int height = 0;
    int pitch = 0;  // bytes per row
    int bitsPerPixel = 0;
};

// Display operations whose answer a back end can force.
enum class DisplayOp {
    DirectDrawCreate,
    QueryInterface,
    SetCooperativeLevel,
    SetDisplayMode,
    CreateSurface,
    GetAttachedSurface,
    Flip,
    IsLost,
    Restore,
    RestoreAllSurfaces,
    Blt,
    BltFast,
    SetColorKey,
    Lock,
    GetDC,
    GetCaps,
    EnumDisplayModes,
    GetGammaRamp,
    SetGammaRamp,
    DirectDrawEnumerateEx,
};

// Forced answers of the display operations, for tests to reach every error
// path. Each operation asks first and, when a code comes back, answers with
// it and does nothing else.
class DisplayFaults {
public:
    virtual ~DisplayFaults() = default;
    // Counts a call of `op`; the code to answer when a fault is due for it.
    virtual std::optional<HRESULT> Take(DisplayOp op) = 0;
};

enum class EventKind { KeyDown, Character, MouseMove, Close };

struct WindowEvent {
    EventKind kind = EventKind::KeyDown;
    HWND window = 0;
    WORD virtualKey = 0;  // KeyDown
    unsigned shift = 0;   // TShiftState bits
    char character = 0;   // Character
    int x = 0;            // MouseMove, in the form's coordinates
    int y = 0;
};

class Backend {
public:
    virtual ~Backend() = default;

    // The screen.
    virtual ScreenMode DesktopMode() const = 0;
    // Modes a display device may set: the desktop's own and each of
    // kFixedModeSizes at each of kOfferedDepths (platform/OfferedModes.h).
    virtual std::vector<ScreenMode> OfferedModes() const = 0;
    virtual int MonitorCount() const = 0;
    virtual bool SupportsGamma() const = 0;
    // The forced answers of the display operations; a real screen has none,
    // so its operations make no check at all. Lives as long as the process.
    virtual DisplayFaults* Faults() { return nullptr; }
    // The back end's own clocks, which GetLocalTime and timeGetTime answer
    // instead of the system's; a real screen has none, so reading the time
    // makes no check. The headless back end keeps them for tests and
    // snapshots.
    virtual std::optional<SYSTEMTIME> LocalTime() { return std::nullopt; }
    virtual std::optional<DWORD> TickCount() { return std::nullopt; }

    // Windows of our own, and windows of other programs by id.
    virtual HWND CreateWindow(std::string_view caption) = 0;
    virtual void DestroyWindow(HWND window) = 0;
    virtual void ShowWindow(HWND window, bool visible) = 0;
    virtual bool IsWindowVisible(HWND window) = 0;
    virtual bool WindowExists(HWND window) = 0;
    virtual void SetSizeableBorder(HWND window, bool sizeable) = 0;
    // Exclusive full screen for the display device's window, and back.
    virtual void EnterFullScreen(HWND window) = 0;
    virtual void LeaveFullScreen(HWND window) = 0;
    virtual void ShowCursor(bool visible) = 0;

    // Shows a frame of the display mode in the window, scaled to fill it with
    // its aspect kept, every channel passed through the gamma ramp. Paces
    // itself to the screen's refresh.
    virtual void Present(HWND window, const PixelView& frame, const DDGAMMARAMP& ramp) = 0;
    // Paints a picture unscaled at (x, y) of a window (preview mode).
    virtual bool PaintBitmap(HWND window, int x, int y, const TBitmap& picture) = 0;

    // Input and window events, without waiting.
    virtual bool PollEvent(WindowEvent& event) = 0;
    // Sleeps until an event arrives, Wake is called, or the time is up.
    virtual void WaitEvent(int timeoutMs) = 0;
    // Ends a WaitEvent from any thread.
    virtual void Wake() = 0;

    virtual int ShowMessageBox(HWND owner, std::string_view text, std::string_view caption, UINT type) = 0;

    // The standard colour dialog, opened on `color`: true with the user's
    // choice in `color`, false when cancelled. A back end without one
    // answers as if cancelled.
    virtual bool ChooseColor(HWND /*owner*/, COLORREF& /*color*/) { return false; }
};

Backend& CurrentBackend();
void InstallBackend(std::unique_ptr<Backend> backend);

// Marks every surface of every open display device lost (the window lost
// the screen); RestoreAllSurfaces brings them back.
void LoseAllSurfaces();

}  // namespace platform
