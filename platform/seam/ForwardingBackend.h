// A back end that hands every call to another one; a subclass replaces the
// few services it provides itself.
#pragma once

#include "platform/seam/Backend.h"

#include <memory>
#include <utility>

namespace platform {

class ForwardingBackend : public Backend {
public:
    explicit ForwardingBackend(std::unique_ptr<Backend> inner) : inner_(std::move(inner)) {}

    ScreenMode DesktopMode() const override { return inner_->DesktopMode(); }
    std::vector<ScreenMode> OfferedModes() const override { return inner_->OfferedModes(); }
    int MonitorCount() const override { return inner_->MonitorCount(); }
    bool SupportsGamma() const override { return inner_->SupportsGamma(); }
    DisplayFaults* Faults() override { return inner_->Faults(); }
    std::optional<SYSTEMTIME> LocalTime() override { return inner_->LocalTime(); }
    std::optional<DWORD> TickCount() override { return inner_->TickCount(); }

    HWND CreateWindow(std::string_view caption) override { return inner_->CreateWindow(caption); }
    void DestroyWindow(HWND window) override { inner_->DestroyWindow(window); }
    void ShowWindow(HWND window, bool visible) override { inner_->ShowWindow(window, visible); }
    bool IsWindowVisible(HWND window) override { return inner_->IsWindowVisible(window); }
    bool WindowExists(HWND window) override { return inner_->WindowExists(window); }
    void SetSizeableBorder(HWND window, bool sizeable) override {
        inner_->SetSizeableBorder(window, sizeable);
    }
    void EnterFullScreen(HWND window) override { inner_->EnterFullScreen(window); }
    void LeaveFullScreen(HWND window) override { inner_->LeaveFullScreen(window); }
    void ShowCursor(bool visible) override { inner_->ShowCursor(visible); }

    void Present(HWND window, const PixelView& frame, const DDGAMMARAMP& ramp) override {
        inner_->Present(window, frame, ramp);
    }
    bool PaintBitmap(HWND window, int x, int y, const TBitmap& picture) override {
        return inner_->PaintBitmap(window, x, y, picture);
    }

    bool PollEvent(WindowEvent& event) override { return inner_->PollEvent(event); }
    void WaitEvent(int timeoutMs) override { inner_->WaitEvent(timeoutMs); }
    void Wake() override { inner_->Wake(); }

    int ShowMessageBox(HWND owner, std::string_view text, std::string_view caption, UINT type) override {
        return inner_->ShowMessageBox(owner, text, caption, type);
    }
    bool ChooseColor(HWND owner, COLORREF& color) override { return inner_->ChooseColor(owner, color); }

private:
    std::unique_ptr<Backend> inner_;
};

}  // namespace platform
