// Where the session's idle signal comes from: the X server, or the Wayland
// compositor.
#pragma once

#include <functional>

namespace platform::session {

class IdleSource {
public:
    virtual ~IdleSource() = default;
    // From now on calls `idle` when input has rested the time asked for (at
    // once when it already has) and `active` at the first input after
    // that, from the default main context. The end of the display ends the
    // process.
    virtual void Watch(std::function<void()> idle, std::function<void()> active) = 0;
    // Tells of the desktop's own holds on idle (a film playing), where the
    // source knows of them; compositors that honour holds themselves do not
    // tell.
    virtual void WatchInhibitors(std::function<void(bool held)> changed) { (void)changed; }
    // XScreenSaver, which marks a window of the X server.
    virtual bool XScreenSaverRuns() = 0;
};

}  // namespace platform::session
