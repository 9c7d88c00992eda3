#include "platform/backends/headless/HeadlessBackend.h"

#include "platform/OfferedModes.h"
#include "platform/backends/headless/DisplayFaults.h"
#include "platform/directdraw/Presentation.h"
#include "platform/winapi/User.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <map>
#include <mutex>
#include <string>
#include <utility>

namespace platform::headless {
namespace {

// The clocks of headless runs, one pair for the process.
class Clocks {
public:
    void SetLocalTime(std::optional<SYSTEMTIME> time) {
        const std::lock_guard guard(lock_);
        localTime_ = time;
    }
    void SetTickClock(std::function<DWORD()> clock) {
        const std::lock_guard guard(lock_);
        tickClock_ = std::move(clock);
    }
    std::optional<SYSTEMTIME> LocalTime() {
        const std::lock_guard guard(lock_);
        return localTime_;
    }
    std::optional<DWORD> TickCount() {
        const std::lock_guard guard(lock_);
        if (!tickClock_) return std::nullopt;
        return tickClock_();
    }

private:
    std::mutex lock_;
    std::optional<SYSTEMTIME> localTime_;
    std::function<DWORD()> tickClock_;
};

Clocks& TheClocks() {
    static Clocks clocks;
    return clocks;
}

class HeadlessBackend final : public Backend {
public:
    explicit HeadlessBackend(const Config& config) : config_(config) {}

    ScreenMode DesktopMode() const override { return config_.desktop; }

    std::vector<ScreenMode> OfferedModes() const override {
        if (config_.offeredModes) return *config_.offeredModes;
        std::vector<ScreenMode> modes{config_.desktop};
        for (const auto& [width, height] : kFixedModeSizes) {
            for (const int bitsPerPixel : kOfferedDepths) {
                const ScreenMode mode{width, height, bitsPerPixel};
                if (std::find(modes.begin(), modes.end(), mode) == modes.end()) modes.push_back(mode);
            }
        }
        return modes;
    }

    int MonitorCount() const override { return config_.monitors; }
    bool SupportsGamma() const override { return config_.gamma; }
    DisplayFaults* Faults() override { return &FaultTable(); }
    std::optional<SYSTEMTIME> LocalTime() override { return TheClocks().LocalTime(); }
    std::optional<DWORD> TickCount() override { return TheClocks().TickCount(); }

    HWND CreateWindow(std::string_view) override {
        const std::lock_guard guard(lock_);
        const HWND window = nextWindow_++;
        windows_[window] = false;
        if (firstWindow_ == 0) firstWindow_ = window;
        return window;
    }

    void DestroyWindow(HWND window) override {
        const std::lock_guard guard(lock_);
        windows_.erase(window);
        if (fullScreen_ == window) fullScreen_ = 0;
    }

    void ShowWindow(HWND window, bool visible) override {
        const std::lock_guard guard(lock_);
        if (const auto found = windows_.find(window); found != windows_.end()) {
            found->second = visible;
        }
    }

    bool IsWindowVisible(HWND window) override {
        const std::lock_guard guard(lock_);
        const auto found = windows_.find(window);
        return found != windows_.end() && found->second;
    }

    bool WindowExists(HWND window) override {
        const std::lock_guard guard(lock_);
        return windows_.contains(window);
    }

    // Headless windows have no border.
    void SetSizeableBorder(HWND, bool) override {}

    void EnterFullScreen(HWND window) override {
        const std::lock_guard guard(lock_);
        fullScreen_ = window;
    }

    void LeaveFullScreen(HWND window) override {
        const std::lock_guard guard(lock_);
        if (fullScreen_ == window) fullScreen_ = 0;
    }

    void ShowCursor(bool visible) override {
        const std::lock_guard guard(lock_);
        cursorVisible_ = visible;
    }

    void Present(HWND, const PixelView& frame, const DDGAMMARAMP& ramp) override {
        TBitmap picture = PresentedPicture(frame, ramp);
        const std::lock_guard guard(lock_);
        lastFrame_ = std::move(picture);
        ++frames_;
    }

    bool PaintBitmap(HWND window, int, int, const TBitmap& picture) override {
        const std::lock_guard guard(lock_);
        if (!windows_.contains(window)) return false;
        painted_[window] = picture;
        return true;
    }

    bool PollEvent(WindowEvent& event) override {
        const std::lock_guard guard(lock_);
        if (events_.empty()) return false;
        event = events_.front();
        events_.pop_front();
        if (event.window == 0) event.window = firstWindow_;
        return true;
    }

    void WaitEvent(int timeoutMs) override {
        std::unique_lock guard(lock_);
        wakeup_.wait_for(guard, std::chrono::milliseconds(std::max(timeoutMs, 0)),
                         [this] { return woken_ || !events_.empty(); });
        woken_ = false;
    }

    void Wake() override {
        {
            const std::lock_guard guard(lock_);
            woken_ = true;
        }
        wakeup_.notify_all();
    }

    // Answered at once with the default button.
    int ShowMessageBox(HWND owner, std::string_view text, std::string_view caption, UINT) override {
        if (const auto shown = config_.whileMessageBoxShows) shown(owner);
        const std::lock_guard guard(lock_);
        shownBoxes_.push_back({std::string(caption), std::string(text)});
        return IDOK;
    }

    bool ChooseColor(HWND, COLORREF& color) override {
        if (!config_.chosenColor) return false;
        color = *config_.chosenColor;
        return true;
    }

    std::optional<TBitmap> LastFrame() const {
        const std::lock_guard guard(lock_);
        return lastFrame_;
    }

    int FrameCount() const {
        const std::lock_guard guard(lock_);
        return frames_;
    }

    std::optional<TBitmap> LastPainted(HWND window) const {
        const std::lock_guard guard(lock_);
        const auto found = painted_.find(window);
        if (found == painted_.end()) return std::nullopt;
        return found->second;
    }

    HWND FullScreen() const {
        const std::lock_guard guard(lock_);
        return fullScreen_;
    }

    std::vector<MessageBoxRecord> ShownBoxes() const {
        const std::lock_guard guard(lock_);
        return shownBoxes_;
    }

    void ClearShownBoxes() {
        const std::lock_guard guard(lock_);
        shownBoxes_.clear();
    }

    bool Cursor() const {
        const std::lock_guard guard(lock_);
        return cursorVisible_;
    }

    void Push(const WindowEvent& event) {
        {
            const std::lock_guard guard(lock_);
            events_.push_back(event);
        }
        wakeup_.notify_all();
    }

private:
    const Config config_;
    mutable std::mutex lock_;
    std::condition_variable wakeup_;
    std::map<HWND, bool> windows_;  // visible
    HWND nextWindow_ = 1;
    HWND firstWindow_ = 0;
    HWND fullScreen_ = 0;
    bool cursorVisible_ = true;
    std::optional<TBitmap> lastFrame_;
    int frames_ = 0;
    std::map<HWND, TBitmap> painted_;
    std::deque<WindowEvent> events_;
    bool woken_ = false;
    std::vector<MessageBoxRecord> shownBoxes_;
};

// The installed back end when it is the headless one.
HeadlessBackend* Current() { return dynamic_cast<HeadlessBackend*>(&CurrentBackend()); }

void Push(const WindowEvent& event) {
    if (HeadlessBackend* backend = Current()) backend->Push(event);
}

}  // namespace

std::unique_ptr<Backend> MakeBackend(const Config& config) {
    return std::make_unique<HeadlessBackend>(config);
}

void Install(const Config& config) { InstallBackend(MakeBackend(config)); }

void SetLocalTime(std::optional<SYSTEMTIME> time) { TheClocks().SetLocalTime(time); }

void SetTickClock(std::function<DWORD()> clock) { TheClocks().SetTickClock(std::move(clock)); }

std::vector<MessageBoxRecord> ShownMessageBoxes() {
    HeadlessBackend* backend = Current();
    return backend != nullptr ? backend->ShownBoxes() : std::vector<MessageBoxRecord>{};
}

void ClearShownMessageBoxes() {
    if (HeadlessBackend* backend = Current()) backend->ClearShownBoxes();
}

std::optional<TBitmap> LastPresentedFrame() {
    HeadlessBackend* backend = Current();
    return backend != nullptr ? backend->LastFrame() : std::nullopt;
}

int PresentedFrameCount() {
    HeadlessBackend* backend = Current();
    return backend != nullptr ? backend->FrameCount() : 0;
}

std::optional<TBitmap> LastPaintedPicture(HWND window) {
    HeadlessBackend* backend = Current();
    return backend != nullptr ? backend->LastPainted(window) : std::nullopt;
}

HWND FullScreenWindow() {
    HeadlessBackend* backend = Current();
    return backend != nullptr ? backend->FullScreen() : 0;
}

bool CursorVisible() {
    HeadlessBackend* backend = Current();
    return backend == nullptr || backend->Cursor();
}

void PushKeyDown(WORD virtualKey, unsigned shift, HWND window) {
    Push({.kind = EventKind::KeyDown, .window = window, .virtualKey = virtualKey, .shift = shift});
}

void PushCharacter(char character, HWND window) {
    Push({.kind = EventKind::Character, .window = window, .character = character});
}

void PushMouseMove(int x, int y, HWND window) {
    Push({.kind = EventKind::MouseMove, .window = window, .x = x, .y = y});
}

void PushClose(HWND window) { Push({.kind = EventKind::Close, .window = window}); }

}  // namespace platform::headless
