// On Windows the gamma ramp the saver sets is the display's own: a saver that
// died with a dark ramp would leave the desktop dark. The display device puts
// the screen's ramp back whenever it closes; this covers the endings that
// never reach it.
#pragma once

namespace platform::win32 {

// Reads the screen's ramp now, before the saver changes it; from then on a
// crash, an unhandled structured exception or a C++ exception that nobody
// catches, puts that ramp back before the process ends. Call it before any
// other thread starts.
void RestoreGammaOnCrash();

}  // namespace platform::win32
