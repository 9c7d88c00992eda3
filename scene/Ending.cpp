#include "platform/Kernel.h"
#include "platform/MMSystem.h"
#include "platform/User.h"
#include "scene/SceneForm.h"

#include <cstdlib>

namespace {

constexpr int kMouseSlack = 5;
constexpr char kEscape = 27;

using VerifyScreenSavePwd = BOOL (*)(HWND window);

}  // namespace

void SceneForm::FormKeyDown(TObject*, WORD& Key, TShiftState) {
    if (FClosed) return;
    if (Setting.TermMouse) {
        TryExit();
        return;
    }
    StepClockKey(Key);
}

void SceneForm::FormKeyPress(TObject*, char& Key) {
    if (FClosed) return;
    if (Setting.TermMouse || Key == kEscape) {
        TryExit();
        return;
    }
    if (Key == '+' || Key == '-') StepGammaKey(Key);
}

void SceneForm::FormMouseMove(TObject*, TShiftState, int X, int Y) {
    if (FClosed) return;
    if (Setting.TermMouse) {
        if (std::abs(X - lastMouse.x) > kMouseSlack && lastMouse.x != 0)
            TryExit();
        else if (std::abs(Y - lastMouse.y) > kMouseSlack && lastMouse.y != 0)
            TryExit();
    }
    lastMouse = {X, Y};
}

void SceneForm::DDtimer1ZasTime(TObject*) {
    // The stall is seen on the timer's thread; the closing belongs to the
    // window's thread.
    Application->Post([this] {
        if (!FClosed) CloseSaver();
    });
}

void SceneForm::TryExit() {
    if (ExitBusy) return;
    ExitBusy = true;
    if (!FlipParity) {
        DDmain1.FlipSurfaces();
        FlipParity = !FlipParity;
    }
    ShowCursor(TRUE);
    if (VerifyPassword(Handle())) {
        CloseSaver();
    } else {
        if (!DDtimer1.Enabled() && !FOptions.manualTicks) DDtimer1.SetEnabled(true);
        ShowCursor(FALSE);
    }
    ExitBusy = false;
}

bool SceneForm::VerifyPassword(HWND window) {
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof version;
    GetVersionExA(&version);
    if (version.dwPlatformId == VER_PLATFORM_WIN32_NT) return true;
    HMODULE library = LoadLibraryA("PASSWORD.CPL");
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
    if (FClosed) return;
    FClosed = true;
    Application->OnIdle = nullptr;
    CloseScene();
    SetBorderStyle(TBorderStyle::bsSizeable);
    PlaySoundA(nullptr, nullptr, SND_RESOURCE);
    SystemParametersInfoA(SPI_SETSCREENSAVERRUNNING, FALSE, nullptr, 0);
    Hide();
    if (DDgamma1.Enabled()) DDgamma1.SetRGB(256);
    Close();
}
