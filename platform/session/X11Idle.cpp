#include "platform/session/X11Idle.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/scrnsaver.h>
#include <X11/extensions/sync.h>
#include <glib-unix.h>
#include <glib.h>

#include <cstdlib>
#include <cstring>
#include <iostream>

namespace platform::session {

namespace {

int EndWatcher(Display*) {
    std::cerr << "tidereach: the X server has gone; the idle watcher ends\n";
    std::_Exit(1);
}

XSyncCounter FindIdleCounter(Display* display) {
    int count = 0;
    XSyncSystemCounter* counters = XSyncListSystemCounters(display, &count);
    XSyncCounter found = None;
    for (int i = 0; i < count; ++i)
        if (std::strcmp(counters[i].name, "IDLETIME") == 0) found = counters[i].counter;
    if (counters != nullptr) XSyncFreeSystemCounterList(counters);
    return found;
}

XSyncAlarm CreateAlarm(Display* display, XSyncCounter counter, XSyncTestType test,
                       std::chrono::milliseconds at) {
    XSyncAlarmAttributes attributes{};
    attributes.trigger.counter = counter;
    attributes.trigger.value_type = XSyncAbsolute;
    attributes.trigger.test_type = test;
    XSyncIntToValue(&attributes.trigger.wait_value, int(at.count()));
    // A transition alarm with no delta stays armed for every crossing.
    XSyncIntToValue(&attributes.delta, 0);
    attributes.events = True;
    return XSyncCreateAlarm(
        display,
        XSyncCACounter | XSyncCAValueType | XSyncCATestType | XSyncCAValue | XSyncCADelta | XSyncCAEvents,
        &attributes);
}

}  // namespace

struct X11Idle::Connection {
    Display* display = nullptr;
    std::chrono::milliseconds after{};
    int syncEventBase = 0;
    XSyncCounter idleTime = None;
    XSyncAlarm restedAlarm = None;
    XSyncAlarm inputAlarm = None;

    ~Connection() {
        if (display == nullptr) return;
        if (restedAlarm != None) XSyncDestroyAlarm(display, restedAlarm);
        if (inputAlarm != None) XSyncDestroyAlarm(display, inputAlarm);
        XCloseDisplay(display);
    }
};

std::unique_ptr<X11Idle> X11Idle::Open(std::chrono::milliseconds after, std::string* error) {
    auto connection = std::make_unique<Connection>();
    connection->after = after;
    connection->display = XOpenDisplay(nullptr);
    if (connection->display == nullptr) {
        *error = "no X display to watch";
        return nullptr;
    }
    Display* display = connection->display;
    int eventBase = 0, errorBase = 0, major = 0, minor = 0;
    if (!XScreenSaverQueryExtension(display, &eventBase, &errorBase)) {
        *error = "the X server has no MIT-SCREEN-SAVER extension";
        return nullptr;
    }
    if (!XSyncQueryExtension(display, &connection->syncEventBase, &errorBase) ||
        !XSyncInitialize(display, &major, &minor)) {
        *error = "the X server has no SYNC extension";
        return nullptr;
    }
    connection->idleTime = FindIdleCounter(display);
    if (connection->idleTime == None) {
        *error = "the X server keeps no idle time";
        return nullptr;
    }
    return std::unique_ptr<X11Idle>(new X11Idle(std::move(connection)));
}

X11Idle::X11Idle(std::unique_ptr<Connection> connection) : connection_(std::move(connection)) {}

X11Idle::~X11Idle() {
    if (source_ != 0) g_source_remove(source_);
}

void X11Idle::Watch(std::function<void()> idle, std::function<void()> active) {
    idle_ = std::move(idle);
    active_ = std::move(active);
    Connection& c = *connection_;
    XSetIOErrorHandler(EndWatcher);
    c.restedAlarm = CreateAlarm(c.display, c.idleTime, XSyncPositiveTransition, c.after);
    c.inputAlarm = CreateAlarm(c.display, c.idleTime, XSyncNegativeTransition, c.after);
    XSync(c.display, False);
    source_ = g_unix_fd_add(
        ConnectionNumber(c.display), G_IO_IN,
        [](int, GIOCondition, void* self) -> gboolean {
            static_cast<X11Idle*>(self)->HandleEvents();
            return G_SOURCE_CONTINUE;
        },
        this);
    // Alarms tell of crossings only: a session already idle is told now.
    XScreenSaverInfo* info = XScreenSaverAllocInfo();
    const bool rested = info != nullptr &&
                        XScreenSaverQueryInfo(c.display, DefaultRootWindow(c.display), info) &&
                        std::chrono::milliseconds(info->idle) >= c.after;
    XFree(info);
    HandleEvents();
    if (rested) idle_();
}

void X11Idle::HandleEvents() {
    Connection& c = *connection_;
    while (XPending(c.display) > 0) {
        XEvent event;
        XNextEvent(c.display, &event);
        if (event.type != c.syncEventBase + XSyncAlarmNotify) continue;
        const auto& alarm = reinterpret_cast<const XSyncAlarmNotifyEvent&>(event);
        if (alarm.alarm == c.restedAlarm) idle_();
        if (alarm.alarm == c.inputAlarm) active_();
    }
}

bool X11Idle::XScreenSaverRuns() {
    Display* display = connection_->display;
    const Atom version = XInternAtom(display, "_SCREENSAVER_VERSION", True);
    if (version == None) return false;
    Window root = 0, parent = 0;
    Window* children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count)) return false;
    bool found = false;
    for (unsigned i = 0; i < count && !found; ++i) {
        Atom type = None;
        int format = 0;
        unsigned long items = 0, left = 0;
        unsigned char* value = nullptr;
        // A window that goes meanwhile answers with an error, which the
        // default handler would make fatal.
        XErrorHandler previous = XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
        if (XGetWindowProperty(display, children[i], version, 0, 0, False, AnyPropertyType, &type, &format,
                               &items, &left, &value) == Success)
            found = type != None;
        XSync(display, False);
        XSetErrorHandler(previous);
        if (value != nullptr) XFree(value);
    }
    if (children != nullptr) XFree(children);
    return found;
}

}  // namespace platform::session
