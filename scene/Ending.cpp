#include "platform/winapi/Kernel.h"
#include "platform/winapi/MMSystem.h"
#include "platform/winapi/User.h"
#include "scene/SceneForm.h"

#include <cstdlib>

namespace {

constexpr int kMouseSlack = 5;
constexpr char kEscape = 27;

using VerifyScreenSavePwd = BOOL(WINAPI*)(HWND window);

}  // namespace

void SceneForm::KeyDown(TObject*, WORD& Key, TShiftState) {
    if (closed_) return;
    if (settings.anyInputEnds) {
        TryExit();
        return;
    }
    StepClockKey(Key);
}

void SceneForm::KeyPress(TObject*, char& Key) {
    if (closed_) return;
    if (settings.anyInputEnds || Key == kEscape) {
        TryExit();
        return;
    }
    if (Key == '+' || Key == '-') StepGammaKey(Key);
}

void SceneForm::MouseMove(TObject*, TShiftState, int X, int Y) {
    if (closed_) return;
    if (settings.anyInputEnds) {
        if (std::abs(X - lastMouse.x) > kMouseSlack && lastMouse.x != 0)
            TryExit();
        else if (std::abs(Y - lastMouse.y) > kMouseSlack && lastMouse.y != 0)
            TryExit();
    }
    lastMouse = {X, Y};
}

void SceneForm::OnTimerStall(TObject*) {
    // The stall is seen on the timer's thread; the closing belongs to the
    // window's thread.
    Application->Post([this] {
        if (!closed_) CloseSaver();
    });
}

void SceneForm::EndFromOutside() {
    // Set-up may still be running under one of its boxes: the ending waits
    // for the message loop.
    if (!built_) {
        Application->Post([this] {
            if (!closed_) CloseSaver();
        });
        return;
    }
    if (closed_) return;
    ShowCursor(TRUE);
    CloseSaver();
}

void SceneForm::TryExit() {
    if (exitBusy) return;
    exitBusy = true;
    if (!flipParity) {
        display.FlipSurfaces();
        flipParity = !flipParity;
    }
    ShowCursor(TRUE);
    if (VerifyPassword(Handle())) {
        CloseSaver();
    } else {
        if (!frameTimer.Enabled() && !options_.manualTicks) frameTimer.SetEnabled(true);
        ShowCursor(FALSE);
    }
    exitBusy = false;
}

bool SceneForm::VerifyPassword(HWND window) {
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof version;
    GetVersionExA(&version);
    if (version.dwPlatformId == VER_PLATFORM_WIN32_NT) return true;
    HMODULE library = LoadLibraryExA("PASSWORD.CPL", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (library == nullptr) return true;
    auto verify = reinterpret_cast<VerifyScreenSavePwd>(GetProcAddress(library, "VerifyScreenSavePwd"));
    if (verify == nullptr) {
        FreeLibrary(library);
        return true;
    }
    const bool passed = verify(window) != 0;
    FreeLibrary(library);
    return passed;
}

void SceneForm::CloseSaver() {
    if (closed_) return;
    EndScene();
    Hide();
    Close();
}

void SceneForm::EndScene() {
    closed_ = true;
    Application->OnIdle = nullptr;
    CloseScene();
    SetBorderStyle(TBorderStyle::bsSizeable);
    PlaySoundA(nullptr, nullptr, SND_RESOURCE);
    SystemParametersInfoA(SPI_SETSCREENSAVERRUNNING, FALSE, nullptr, 0);
}
