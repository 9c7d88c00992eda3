#include "platform/ScreenRamp.h"

#include "platform/winapi/Gdi.h"

namespace platform {

DDGAMMARAMP IdentityRamp() {
    DDGAMMARAMP ramp{};
    for (int i = 0; i < 256; ++i) ramp.red[i] = ramp.green[i] = ramp.blue[i] = WORD(i * 256);
    return ramp;
}

DDGAMMARAMP ReadScreenRamp() {
    DDGAMMARAMP ramp{};
    HDC screen = GetDC(0);
    if (screen == nullptr) return IdentityRamp();
    const bool read = GetDeviceGammaRamp(screen, &ramp) != FALSE;
    ReleaseDC(0, screen);
    return read ? ramp : IdentityRamp();
}

bool WriteScreenRamp(const DDGAMMARAMP& ramp) {
    HDC screen = GetDC(0);
    if (screen == nullptr) return false;
    // GDI takes the tables through a pointer to non-const, and only reads them.
    DDGAMMARAMP copy = ramp;
    const bool written = SetDeviceGammaRamp(screen, &copy) != FALSE;
    ReleaseDC(0, screen);
    return written;
}

}  // namespace platform
