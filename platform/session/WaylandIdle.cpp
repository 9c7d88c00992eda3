#include "platform/session/WaylandIdle.h"

#include "ext-idle-notify-v1-client-protocol.h"
#include "kde-idle-client-protocol.h"

#include <glib-unix.h>
#include <glib.h>
#include <wayland-client.h>

#include <cstdlib>
#include <cstring>
#include <iostream>

namespace platform::session {

struct WaylandIdle::Globals {
    std::chrono::milliseconds after{};
    wl_display* display = nullptr;
    wl_registry* registry = nullptr;
    wl_seat* seat = nullptr;
    ext_idle_notifier_v1* notifier = nullptr;
    org_kde_kwin_idle* kdeIdle = nullptr;
    ext_idle_notification_v1* notification = nullptr;
    org_kde_kwin_idle_timeout* kdeTimeout = nullptr;
    std::function<void()> idle;
    std::function<void()> active;

    ~Globals() {
        if (notification != nullptr) ext_idle_notification_v1_destroy(notification);
        if (kdeTimeout != nullptr) org_kde_kwin_idle_timeout_release(kdeTimeout);
        if (notifier != nullptr) ext_idle_notifier_v1_destroy(notifier);
        if (kdeIdle != nullptr) org_kde_kwin_idle_destroy(kdeIdle);
        if (seat != nullptr) wl_seat_destroy(seat);
        if (registry != nullptr) wl_registry_destroy(registry);
        if (display != nullptr) wl_display_disconnect(display);
    }
};

namespace {

using Globals = WaylandIdle::Globals;

void Announced(void* data, wl_registry* registry, uint32_t name, const char* interface, uint32_t version) {
    auto& globals = *static_cast<Globals*>(data);
    if (std::strcmp(interface, wl_seat_interface.name) == 0 && globals.seat == nullptr) {
        globals.seat = static_cast<wl_seat*>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
    } else if (std::strcmp(interface, ext_idle_notifier_v1_interface.name) == 0) {
        globals.notifier = static_cast<ext_idle_notifier_v1*>(
            wl_registry_bind(registry, name, &ext_idle_notifier_v1_interface, 1));
    } else if (std::strcmp(interface, org_kde_kwin_idle_interface.name) == 0) {
        globals.kdeIdle = static_cast<org_kde_kwin_idle*>(
            wl_registry_bind(registry, name, &org_kde_kwin_idle_interface, 1));
    }
    (void)version;
}

void Withdrawn(void*, wl_registry*, uint32_t) {}

const wl_registry_listener kRegistryListener = {Announced, Withdrawn};

const ext_idle_notification_v1_listener kNotificationListener = {
    [](void* data, ext_idle_notification_v1*) { static_cast<Globals*>(data)->idle(); },
    [](void* data, ext_idle_notification_v1*) { static_cast<Globals*>(data)->active(); },
};

const org_kde_kwin_idle_timeout_listener kKdeTimeoutListener = {
    [](void* data, org_kde_kwin_idle_timeout*) { static_cast<Globals*>(data)->idle(); },
    [](void* data, org_kde_kwin_idle_timeout*) { static_cast<Globals*>(data)->active(); },
};

[[noreturn]] void EndWatcher() {
    std::cerr << "tidereach: the Wayland compositor has gone; the idle watcher ends\n";
    std::_Exit(1);
}

}  // namespace

std::unique_ptr<WaylandIdle> WaylandIdle::Open(std::chrono::milliseconds after, std::string* error) {
    auto globals = std::make_unique<Globals>();
    globals->after = after;
    globals->display = wl_display_connect(nullptr);
    if (globals->display == nullptr) {
        *error = "no Wayland compositor to watch";
        return nullptr;
    }
    globals->registry = wl_display_get_registry(globals->display);
    wl_registry_add_listener(globals->registry, &kRegistryListener, globals.get());
    if (wl_display_roundtrip(globals->display) < 0) {
        *error = "the Wayland compositor did not answer";
        return nullptr;
    }
    if (globals->seat == nullptr) {
        *error = "the Wayland compositor offers no seat";
        return nullptr;
    }
    if (globals->notifier == nullptr && globals->kdeIdle == nullptr) {
        *error =
            "the Wayland compositor tells no idle time (neither ext-idle-notify-v1 nor org_kde_kwin_idle)";
        return nullptr;
    }
    return std::unique_ptr<WaylandIdle>(new WaylandIdle(std::move(globals)));
}

WaylandIdle::WaylandIdle(std::unique_ptr<Globals> globals) : globals_(std::move(globals)) {}

WaylandIdle::~WaylandIdle() {
    if (source_ != 0) g_source_remove(source_);
}

void WaylandIdle::Watch(std::function<void()> idle, std::function<void()> active) {
    Globals& g = *globals_;
    g.idle = std::move(idle);
    g.active = std::move(active);
    const auto timeout = uint32_t(g.after.count());
    if (g.notifier != nullptr) {
        g.notification = ext_idle_notifier_v1_get_idle_notification(g.notifier, timeout, g.seat);
        ext_idle_notification_v1_add_listener(g.notification, &kNotificationListener, &g);
    } else {
        g.kdeTimeout = org_kde_kwin_idle_get_idle_timeout(g.kdeIdle, g.seat, timeout);
        org_kde_kwin_idle_timeout_add_listener(g.kdeTimeout, &kKdeTimeoutListener, &g);
    }
    if (wl_display_flush(g.display) < 0) EndWatcher();
    source_ = g_unix_fd_add(
        wl_display_get_fd(g.display), GIOCondition(G_IO_IN | G_IO_ERR | G_IO_HUP),
        [](int, GIOCondition, void* self) -> gboolean {
            static_cast<WaylandIdle*>(self)->Dispatch();
            return G_SOURCE_CONTINUE;
        },
        this);
}

void WaylandIdle::Dispatch() {
    wl_display* display = globals_->display;
    if (wl_display_dispatch(display) < 0 || wl_display_flush(display) < 0) EndWatcher();
}

}  // namespace platform::session
