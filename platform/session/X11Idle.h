// Idle on an X11 session without a screensaver host: the server's own idle
// time, which input and XResetScreenSaver (as older players call it) set
// back to zero. Alarms of the server tell when it crosses the time asked
// for, either way, so nothing is polled.
#pragma once

#include "platform/session/IdleSource.h"

#include <chrono>
#include <functional>
#include <memory>
#include <string>

namespace platform::session {

class X11Idle final : public IdleSource {
public:
    // nullptr with the reason in `error` without an X server or its
    // MIT-SCREEN-SAVER and SYNC extensions.
    static std::unique_ptr<X11Idle> Open(std::chrono::milliseconds after, std::string* error);
    ~X11Idle() override;
    X11Idle(const X11Idle&) = delete;
    X11Idle& operator=(const X11Idle&) = delete;

    void Watch(std::function<void()> idle, std::function<void()> active) override;
    // XScreenSaver marks its window with its version.
    bool XScreenSaverRuns() override;

private:
    struct Connection;
    explicit X11Idle(std::unique_ptr<Connection> connection);
    void HandleEvents();

    std::unique_ptr<Connection> connection_;
    std::function<void()> idle_;
    std::function<void()> active_;
    unsigned source_ = 0;
};

}  // namespace platform::session
