# A program that holds the screensaver off the way browsers and video players
# do, through org.freedesktop.ScreenSaver on the session bus. It prints its
# cookie, then reads commands: "release" lets go ("released"); at the end of
# its input it leaves the bus, holding or not.
import sys

import dbus

bus = dbus.SessionBus()
screensaver = dbus.Interface(bus.get_object("org.freedesktop.ScreenSaver", "/org/freedesktop/ScreenSaver"),
                             "org.freedesktop.ScreenSaver")
cookie = screensaver.Inhibit("Film player", "Playing a film")
print(int(cookie), flush=True)
for line in sys.stdin:
    if line.strip() == "release":
        screensaver.UnInhibit(cookie)
        print("released", flush=True)
