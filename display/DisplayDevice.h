// DisplayDevice: the display device. Takes the screen in an exclusive full-screen
// mode, owns the flip chain, clears and flips the back buffer with up to four
// text lines on it, and restores surfaces after a loss.
#pragma once

#include "display/DisplayComponent.h"
#include "platform/DirectDraw.h"

#include <atomic>
#include <memory>
#include <mutex>
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

    // The three test lines; the text setters may be called from the timer
    // thread while the window thread draws.
    void SetShowTestString(bool value) { FShowTestString.store(value, std::memory_order_relaxed); }
    void SetShowTestString2(bool value) { FShowTestString2.store(value, std::memory_order_relaxed); }
    void SetShowTestString3(bool value) { FShowTestString3.store(value, std::memory_order_relaxed); }
    bool ShowTestString() const { return FShowTestString.load(std::memory_order_relaxed); }
    bool ShowTestString2() const { return FShowTestString2.load(std::memory_order_relaxed); }
    bool ShowTestString3() const { return FShowTestString3.load(std::memory_order_relaxed); }
    void SetTestString(const std::string& text);
    void SetTestString2(const std::string& text);
    void SetTestString3(const std::string& text);
    std::string TestString() const;
    std::string TestString2() const;
    std::string TestString3() const;

    void OpenDirectDraw();
    void CloseDirectDraw();
    void ClearBackSurface();
    void FlipSurfaces();
    void DrawFrameRate();
    void DrawTextAt(const std::string& text, int x, int y);
    bool RestoreSurfaces();
    HRESULT EnumerateScreens();
    // The figure the frame-rate line shows, kept once for the class.
    static int FrameRate();

    // Runs `use` with the device object and the primary surface (null while
    // the device is closed) and keeps the device from releasing them
    // meanwhile: for a component that reaches them from another thread than
    // the window's, which may be closing the device after a failure.
    template <class Use>
    decltype(auto) WithPrimary(Use&& use) const {
        std::lock_guard lock(FReleaseLock);
        return use(directDraw, primary);
    }

    // The device's platform objects, read directly by the linked components.
    IDirectDraw* directDraw = nullptr;
    IDirectDraw7* directDraw7 = nullptr;
    IDirectDrawSurface7* primary = nullptr;
    IDirectDrawSurface7* backBuffer = nullptr;

private:
    void ReportAndClose(const std::string& text);
    // White text without background on the back buffer; a lost buffer is
    // skipped silently, a refused device context closes the device.
    void DrawTextLine(std::string_view text, int x, int y, const char* failure);
    std::string ReadTestString(int index) const;
    void WriteTestString(int index, const std::string& text);

    bool showFrameRate_ = false;
    bool enabled_ = false;
    std::atomic<int> width_{800};
    std::atomic<int> height_{600};
    int colorDepth_ = 24;
    bool dualMonitor_ = false;
    bool useGivenForm_ = false;
    TForm* displayForm_ = nullptr;
    std::atomic<bool> FShowTestString{false};
    std::atomic<bool> FShowTestString2{false};
    std::atomic<bool> FShowTestString3{false};
    // Held while the platform objects are released, and by WithPrimary.
    mutable std::mutex FReleaseLock;
    mutable std::mutex FTestStringsLock;
    std::string FTestStrings[3];
};
