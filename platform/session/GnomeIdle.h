// Idle on GNOME (Wayland and X11), as mutter tells it over the session bus
// (org.gnome.Mutter.IdleMonitor: an idle watch and a user-active watch, no
// polling); held off while org.gnome.SessionManager reports idle
// inhibited.
#pragma once

#include "platform/session/GObjectPtr.h"
#include "platform/session/IdleSource.h"

#include <gio/gio.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace platform::session {

class GnomeIdle final : public IdleSource {
public:
    // nullptr where mutter's idle monitor is not on the bus.
    static std::unique_ptr<GnomeIdle> Open(GDBusConnection* bus, std::chrono::milliseconds after);
    ~GnomeIdle() override;
    GnomeIdle(const GnomeIdle&) = delete;
    GnomeIdle& operator=(const GnomeIdle&) = delete;

    void Watch(std::function<void()> idle, std::function<void()> active) override;
    void WatchInhibitors(std::function<void(bool held)> changed) override;
    bool XScreenSaverRuns() override { return false; }

private:
    GnomeIdle(GDBusConnection* bus, std::chrono::milliseconds after);
    void WatchFired(std::uint32_t id);
    std::uint32_t AddWatch(const char* method, GVariant* parameters);
    void AskInhibited();

    GObjectPtr<GDBusConnection> bus_;
    std::chrono::milliseconds after_;
    std::function<void()> idle_;
    std::function<void()> active_;
    std::function<void(bool)> inhibited_;
    std::uint32_t idleWatch_ = 0;
    std::uint32_t activeWatch_ = 0;
    unsigned firedSignal_ = 0;
    std::vector<unsigned> inhibitorSignals_;
    bool held_ = false;
};

}  // namespace platform::session
