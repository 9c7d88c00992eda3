#include "platform/win32/CrashGamma.h"

#include "platform/winapi/WinTypes.h"

#include <cstdlib>
#include <exception>

namespace platform::win32 {
namespace {

LONG WINAPI OnUnhandledException(EXCEPTION_POINTERS* /*exception*/) {
    PutBackIdentityGamma();
    // The system's own handling goes on and ends the process.
    return EXCEPTION_CONTINUE_SEARCH;
}

[[noreturn]] void OnTerminate() {
    PutBackIdentityGamma();
    std::abort();
}

}  // namespace

void PutBackIdentityGamma() {
    WORD ramp[3][256];
    for (int i = 0; i < 256; ++i) ramp[0][i] = ramp[1][i] = ramp[2][i] = WORD(i * 257);
    HDC screen = GetDC(nullptr);
    if (screen == nullptr) return;
    SetDeviceGammaRamp(screen, ramp);
    ReleaseDC(nullptr, screen);
}

void RestoreGammaOnCrash() {
    SetUnhandledExceptionFilter(OnUnhandledException);
    std::set_terminate(OnTerminate);
}

}  // namespace platform::win32
