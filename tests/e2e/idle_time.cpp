// Prints the X server's idle time in milliseconds, as the MIT-SCREEN-SAVER
// extension reports it: how long input has rested.
#include <X11/Xlib.h>
#include <X11/extensions/scrnsaver.h>

#include <iostream>

int main() {
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) return 1;
    XScreenSaverInfo* info = XScreenSaverAllocInfo();
    const bool known = XScreenSaverQueryInfo(display, DefaultRootWindow(display), info);
    if (known) std::cout << info->idle << "\n";
    XFree(info);
    XCloseDisplay(display);
    return known ? 0 : 1;
}
