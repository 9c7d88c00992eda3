// Idle on a Wayland session, as the compositor tells it through
// ext-idle-notify-v1, or org_kde_kwin_idle where only that is offered
// (sway 1.7). The compositor honours idle inhibitors itself.
#pragma once

#include "platform/session/IdleSource.h"

#include <chrono>
#include <functional>
#include <memory>
#include <string>

namespace platform::session {

class WaylandIdle final : public IdleSource {
public:
    // nullptr with the reason in `error` without a compositor at
    // $WAYLAND_DISPLAY, a seat or either protocol.
    static std::unique_ptr<WaylandIdle> Open(std::chrono::milliseconds after, std::string* error);
    ~WaylandIdle() override;
    WaylandIdle(const WaylandIdle&) = delete;
    WaylandIdle& operator=(const WaylandIdle&) = delete;

    void Watch(std::function<void()> idle, std::function<void()> active) override;
    bool XScreenSaverRuns() override { return false; }

    struct Globals;

private:
    explicit WaylandIdle(std::unique_ptr<Globals> globals);
    void Dispatch();

    std::unique_ptr<Globals> globals_;
    unsigned source_ = 0;
};

}  // namespace platform::session
