// On Windows the gamma ramp the saver sets is the display's own: a saver that
// died with a dark ramp would leave the desktop dark. The display device puts
// the identity ramp back whenever it closes; this covers the endings that
// never reach it.
#pragma once

namespace platform::win32 {

// From now on a crash, an unhandled structured exception or a C++ exception
// that nobody catches, puts the identity ramp back on the screen before the
// process ends.
void RestoreGammaOnCrash();

// Puts the identity ramp back on the whole screen.
void PutBackIdentityGamma();

}  // namespace platform::win32
