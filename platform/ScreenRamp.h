// The screen's own gamma ramp through GDI. Where the saver changes the
// display's ramp, the one the screen had at the start is what every ending
// puts back: a calibration or a night light survives the saver.
#pragma once

#include "platform/winapi/DirectDraw.h"

namespace platform {

// The identity: entry i of each channel is 256 i, the unchanged picture.
DDGAMMARAMP IdentityRamp();
// The screen's ramp now; the identity where the screen tells none.
DDGAMMARAMP ReadScreenRamp();
// Writes the screen's ramp; false where the screen takes none.
bool WriteScreenRamp(const DDGAMMARAMP& ramp);

}  // namespace platform
