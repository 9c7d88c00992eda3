# Input the way a remote-desktop client gives it, through mutter's own
# org.gnome.Mutter.RemoteDesktop on the session bus. Mutter closes a session
# when its creator leaves the bus, so this stays on it and reads commands:
# "key KEYSYM" presses and releases a key, "move DX DY" moves the pointer;
# each is answered with "done" once mutter took it. Mutter adds the seat's
# keyboard and pointer only with their first event, and a window gets no
# event sent before its client took the new keyboard, so a Shift and a
# small move come first, before "ready".
import sys

import dbus

NAME = "org.gnome.Mutter.RemoteDesktop"
bus = dbus.SessionBus()
remote_desktop = dbus.Interface(bus.get_object(NAME, "/org/gnome/Mutter/RemoteDesktop"), NAME)
session = dbus.Interface(bus.get_object(NAME, remote_desktop.CreateSession()), NAME + ".Session")
session.Start()


def press(keysym):
    session.NotifyKeyboardKeysym(dbus.UInt32(keysym), True)
    session.NotifyKeyboardKeysym(dbus.UInt32(keysym), False)


SHIFT = 0xFFE1
press(SHIFT)
session.NotifyPointerMotionRelative(1.0, 1.0)
print("ready", flush=True)
for line in sys.stdin:
    command, *arguments = line.split()
    if command == "key":
        press(int(arguments[0], 0))
    elif command == "move":
        session.NotifyPointerMotionRelative(float(arguments[0]), float(arguments[1]))
    print("done", flush=True)
