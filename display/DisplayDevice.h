// The display device: takes the screen in an exclusive full-screen
// mode, owns the flip chain, clears and flips the back buffer with up to four
// text lines on it, and restores surfaces after a loss.
#pragma once

#include "display/DisplayComponent.h"
#include "platform/DirectDraw.h"

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

    bool ShowFPS() const { return FShowFPS; }
    void SetshowFPS(bool value) { FShowFPS = value; }
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool value);

    int GetWidth() const { return FWidth.load(std::memory_order_relaxed); }
    void SetWidth(int value) { FWidth.store(value, std::memory_order_relaxed); }
    int GetHeight() const { return FHeight.load(std::memory_order_relaxed); }
    void SetHeight(int value) { FHeight.store(value, std::memory_order_relaxed); }
    int GetColorDepth() const { return FColorDepth; }
    void SetColorDepth(int value) { FColorDepth = value; }

    bool DualMonitor() const { return FDualMonitor; }
    void SetDualMonitor(bool value) { FDualMonitor = value; }
    bool DefineFormHandle() const { return FDefineFormHandle; }
    void SetFormHandle(bool value) { FDefineFormHandle = value; }
    TForm* DDForm() const { return FDDForm; }
    void SetParentForm(TForm* form) { FDDForm = form; }

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
    void FuncShowFPS();
    void FuncShowTST(const std::string& text, int x, int y);
    bool MakeRestSurface();
    // Counts the display devices of the system and remembers the third one
    // reported (the secondary monitor's, after the primary's two entries).
    HRESULT EnumerateScreens();
    // The figure the frame-rate line shows.
    int FrameRate() const { return frameRate_; }

    // The device's platform objects, read directly by the linked components.
    IDirectDraw* FpDD = nullptr;
    IDirectDraw7* FpDD7 = nullptr;
    IDirectDrawSurface7* FpDDSPrimary = nullptr;
    IDirectDrawSurface7* FpDDSBack = nullptr;

private:
    void ReportAndClose(const std::string& text);
    // White text without background on the back buffer; a lost buffer is
    // skipped silently, a refused device context closes the device.
    void DrawTextLine(std::string_view text, int x, int y, const char* failure);
    // The enumeration's callback; `context` is the device.
    static BOOL CountScreen(GUID* device, char* description, char* name, void* context, void* monitor);

    bool FShowFPS = false;
    bool FEnabled = false;
    std::atomic<int> FWidth{800};
    std::atomic<int> FHeight{600};
    int FColorDepth = 24;
    bool FDualMonitor = false;
    bool FDefineFormHandle = false;
    TForm* FDDForm = nullptr;
    std::array<std::atomic<bool>, kTextLines> textLineShown_{};
    // A line is drawn with the whole old text or the whole new one.
    mutable std::mutex textLinesLock_;
    std::array<std::string, kTextLines> textLines_;

    // The frame rate is worked out per batch of ten frames.
    int framesInBatch_ = 0;
    DWORD lastBatchTime_ = 0;
    int frameRate_ = 0;

    int screensSeen_ = 0;
    std::optional<GUID> rememberedScreen_;
};
