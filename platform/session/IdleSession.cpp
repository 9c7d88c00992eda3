#include "platform/session/IdleSession.h"

#include "platform/session/ChildSaver.h"
#include "platform/session/GObjectPtr.h"
#include "platform/session/GnomeIdle.h"
#include "platform/session/InhibitService.h"
#include "platform/session/LoginLock.h"
#include "platform/session/WaylandIdle.h"
#include "platform/session/X11Idle.h"

#include <gio/gio.h>
#include <glib-unix.h>
#include <limits.h>
#include <signal.h>
#include <unistd.h>

#include <cstdlib>
#include <iostream>

namespace platform::session {

namespace {

// A saver asked to end gets the time its own closing allows, and a little.
constexpr std::chrono::seconds kSaverPatience{5};

// The hosts that announce themselves on the session bus, by the names their
// users know them by.
constexpr std::pair<const char*, const char*> kBusHosts[] = {
    {"org.mate.ScreenSaver", "mate-screensaver"},
    {"org.xfce.ScreenSaver", "xfce4-screensaver"},
};

bool NameOwned(GDBusConnection* bus, const char* name) {
    GVariant* reply = g_dbus_connection_call_sync(
        bus, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus", "NameHasOwner",
        g_variant_new("(s)", name), G_VARIANT_TYPE("(b)"), G_DBUS_CALL_FLAGS_NONE, 5000, nullptr, nullptr);
    if (reply == nullptr) return false;
    gboolean owned = FALSE;
    g_variant_get(reply, "(b)", &owned);
    g_variant_unref(reply);
    return owned;
}

std::string OwnProgram() {
    char path[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    return length > 0 ? std::string(path, std::size_t(length)) : std::string("tidereach");
}

class DesktopSession final : public IdleSession {
public:
    DesktopSession(std::unique_ptr<IdleSource> idle, GObjectPtr<GDBusConnection> bus,
                   std::vector<std::string> command)
        : idle_(std::move(idle)), bus_(std::move(bus)), saver_(std::move(command), [this] {
              if (events_ != nullptr) events_->SaverEnded();
          }) {}

    std::optional<std::string> RunningHost() override {
        if (idle_->XScreenSaverRuns()) return "XScreenSaver";
        if (bus_)
            for (const auto& [name, host] : kBusHosts)
                if (NameOwned(bus_.get(), name)) return host;
        return std::nullopt;
    }

    SaverProcess& Saver() override { return saver_; }

    void Run(SessionEvents& events) override {
        events_ = &events;
        GMainLoop* loop = g_main_loop_new(nullptr, FALSE);
        std::vector<unsigned> signalSources;
        for (const int signal : {SIGTERM, SIGINT, SIGHUP})
            signalSources.push_back(g_unix_signal_add(
                signal,
                [](void* loop) -> gboolean {
                    g_main_loop_quit(static_cast<GMainLoop*>(loop));
                    return G_SOURCE_CONTINUE;
                },
                loop));
        // Holds through our service and the desktop's own count alike.
        bool serviceHeld = false, desktopHeld = false;
        auto tellHeld = [&] { events.Inhibited(serviceHeld || desktopHeld); };
        std::unique_ptr<InhibitService> inhibitors;
        unsigned long closed = 0;
        if (bus_) {
            inhibitors = std::make_unique<InhibitService>(bus_.get(), [&](bool held) {
                serviceHeld = held;
                tellHeld();
            });
            g_dbus_connection_set_exit_on_close(bus_.get(), FALSE);
            closed = g_signal_connect_swapped(bus_.get(), "closed", G_CALLBACK(g_main_loop_quit), loop);
        }
        const auto lock = LoginLock::Watch([&](bool locked) { events.Locked(locked); });
        if (lock && lock->Locked()) events.Locked(true);
        idle_->WatchInhibitors([&](bool held) {
            desktopHeld = held;
            tellHeld();
        });
        idle_->Watch([&] { events.Idle(); }, [&] { events.Active(); });

        g_main_loop_run(loop);

        saver_.StopAndWait(kSaverPatience);
        events_ = nullptr;
        if (closed != 0) g_signal_handler_disconnect(bus_.get(), closed);
        for (const unsigned source : signalSources) g_source_remove(source);
        g_main_loop_unref(loop);
    }

private:
    std::unique_ptr<IdleSource> idle_;
    GObjectPtr<GDBusConnection> bus_;
    SessionEvents* events_ = nullptr;
    ChildSaver saver_;
};

}  // namespace

std::unique_ptr<IdleSession> IdleSession::Open(std::chrono::milliseconds idleAfter,
                                               std::vector<std::string> saverArguments, std::string* error) {
    std::vector<std::string> command{OwnProgram()};
    command.insert(command.end(), saverArguments.begin(), saverArguments.end());
    // Without a session bus nobody can hold the saver off, but idle still
    // starts it.
    GError* busError = nullptr;
    GObjectPtr<GDBusConnection> bus(g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, &busError));
    if (!bus) {
        std::cerr << "tidereach: no session bus (" << busError->message << "); inhibitors are not heard\n";
        g_error_free(busError);
    }
    // GNOME's own monitor first; on other Wayland desktops the compositor
    // tells, since XWayland's idle time counts only its own windows' input.
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    std::unique_ptr<IdleSource> idle;
    if (bus) idle = GnomeIdle::Open(bus.get(), idleAfter);
    if (!idle && wayland != nullptr && *wayland != '\0') idle = WaylandIdle::Open(idleAfter, error);
    if (!idle && (wayland == nullptr || *wayland == '\0')) idle = X11Idle::Open(idleAfter, error);
    if (!idle) return nullptr;
    return std::make_unique<DesktopSession>(std::move(idle), std::move(bus), std::move(command));
}

}  // namespace platform::session
