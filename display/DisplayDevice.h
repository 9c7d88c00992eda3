// The display device: takes the screen in an exclusive full-screen
// mode, owns the flip chain, clears and flips the back buffer with up to four
// text lines on it, and restores surfaces after a loss.
#pragma once

#include "display/DisplayComponent.h"
#include "platform/winapi/DirectDraw.h"

#include <array>
#include <atomic>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

class TForm;

class DisplayDevice : public DisplayComponent {
public:
    explicit DisplayDevice(TComponent* owner);
    ~DisplayDevice() override;
    DisplayDevice(const DisplayDevice&) = delete;
    DisplayDevice& operator=(const DisplayDevice&) = delete;

    bool ShowsFrameRate() const { return showFrameRate_; }
    void SetShowFrameRate(bool value) { showFrameRate_ = value; }
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool value);

    int Width() const { return width_.load(std::memory_order_relaxed); }
    void SetWidth(int value) { width_.store(value, std::memory_order_relaxed); }
    int Height() const { return height_.load(std::memory_order_relaxed); }
    void SetHeight(int value) { height_.store(value, std::memory_order_relaxed); }
    int ColorDepth() const { return colorDepth_; }
    void SetColorDepth(int value) { colorDepth_ = value; }

    bool DualMonitor() const { return dualMonitor_; }
    void SetDualMonitor(bool value) { dualMonitor_ = value; }
    bool UsesGivenForm() const { return useGivenForm_; }
    void SetUseGivenForm(bool value) { useGivenForm_ = value; }
    TForm* DisplayForm() const { return displayForm_; }
    void SetDisplayForm(TForm* form) { displayForm_ = form; }

    // Three lines of text drawn with each flip, line n at (20, 20 + 20n),
    // each shown or not; texts and switches may be set from the timer thread
    // while the window thread draws.
    static constexpr int kTextLines = 3;
    void ShowTextLine(int line, bool shown) { textLineShown_[line].store(shown, std::memory_order_relaxed); }
    bool TextLineShown(int line) const { return textLineShown_[line].load(std::memory_order_relaxed); }
    void SetTextLine(int line, const std::string& text);
    std::string TextLine(int line) const;

    void OpenDirectDraw();
    void CloseDirectDraw();
    void ClearBackSurface();
    void FlipSurfaces();
    void DrawFrameRate();
    void DrawTextAt(const std::string& text, int x, int y);
    bool RestoreSurfaces();
    // Counts the display devices of the system and remembers the third one
    // reported (the secondary monitor's, after the primary's two entries).
    HRESULT EnumerateScreens();
    // The figure the frame-rate line shows.
    int FrameRate() const { return frameRate_; }

    // Runs `use` with the device object and the primary surface (null while
    // the device is closed) and keeps the device from releasing them
    // meanwhile: for a component that reaches them from another thread than
    // the window's, which may be closing the device after a failure.
    template <class Use>
    decltype(auto) WithPrimary(Use&& use) const {
        std::lock_guard lock(releaseLock_);
        return use(directDraw, primary);
    }

    // The device's platform objects, read directly by the linked components.
    IDirectDraw* directDraw = nullptr;
    IDirectDraw7* directDraw7 = nullptr;
    IDirectDrawSurface7* primary = nullptr;
    IDirectDrawSurface7* backBuffer = nullptr;

private:
    void ReportAndClose(const std::string& text);
    // Where the display's gamma ramp is the hardware's own, a ramp left set
    // would keep the desktop dark after the device closes, however it closes:
    // the screen's ramp as found at the opening goes back, through the
    // primary's gamma control while it takes it, else through GDI.
    void PutBackScreenRamp();
    // White text without background on the back buffer; a lost buffer is
    // skipped silently, a refused device context closes the device.
    void DrawTextLine(std::string_view text, int x, int y, const char* failure);
    // The enumeration's callback; `context` is the device.
    static BOOL CALLBACK CountScreen(GUID* device, LPSTR description, LPSTR name, LPVOID context,
                                     HMONITOR monitor);

    bool showFrameRate_ = false;
    bool enabled_ = false;
    std::atomic<int> width_{800};
    std::atomic<int> height_{600};
    int colorDepth_ = 24;
    bool dualMonitor_ = false;
    bool useGivenForm_ = false;
    TForm* displayForm_ = nullptr;
    std::array<std::atomic<bool>, kTextLines> textLineShown_{};
    // A line is drawn with the whole old text or the whole new one.
    mutable std::mutex textLinesLock_;
    std::array<std::string, kTextLines> textLines_;
    // Held while the platform objects are released, and by WithPrimary.
    mutable std::mutex releaseLock_;
    // The screen's ramp before the device changed anything.
    DDGAMMARAMP screenRamp_{};

    // The frame rate is worked out per batch of ten frames.
    int framesInBatch_ = 0;
    DWORD lastBatchTime_ = 0;
    int frameRate_ = 0;

    int screensSeen_ = 0;
    std::optional<GUID> rememberedScreen_;
};
