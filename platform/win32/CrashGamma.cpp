#include "platform/win32/CrashGamma.h"

#include "platform/ScreenRamp.h"

#include <cstdlib>
#include <exception>

namespace platform::win32 {
namespace {

// The system's crash hooks take no context: the ramp is kept here, written
// once before any other thread exists and only read afterwards.
DDGAMMARAMP& RampAtStart() {
    static DDGAMMARAMP ramp = IdentityRamp();
    return ramp;
}

LONG WINAPI OnUnhandledException(EXCEPTION_POINTERS* /*exception*/) {
    WriteScreenRamp(RampAtStart());
    // The system's own handling goes on and ends the process.
    return EXCEPTION_CONTINUE_SEARCH;
}

[[noreturn]] void OnTerminate() {
    WriteScreenRamp(RampAtStart());
    std::abort();
}

}  // namespace

void RestoreGammaOnCrash() {
    RampAtStart() = ReadScreenRamp();
    SetUnhandledExceptionFilter(OnUnhandledException);
    std::set_terminate(OnTerminate);
}

}  // namespace platform::win32
