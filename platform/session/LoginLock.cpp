#include "platform/session/LoginLock.h"

#include <unistd.h>

#include <cstdlib>
#include <string>

namespace platform::session {

namespace {

constexpr const char* kLogin = "org.freedesktop.login1";

// This session's object: the one $XDG_SESSION_ID names, else the one this
// process belongs to.
std::string SessionPath(GDBusConnection* bus) {
    const char* id = std::getenv("XDG_SESSION_ID");
    const bool named = id != nullptr && *id != '\0';
    GVariant* reply = g_dbus_connection_call_sync(
        bus, kLogin, "/org/freedesktop/login1", "org.freedesktop.login1.Manager",
        named ? "GetSession" : "GetSessionByPID",
        named ? g_variant_new("(s)", id) : g_variant_new("(u)", guint32(getpid())), G_VARIANT_TYPE("(o)"),
        G_DBUS_CALL_FLAGS_NONE, 5000, nullptr, nullptr);
    if (reply == nullptr) return {};
    const char* path = nullptr;
    g_variant_get(reply, "(&o)", &path);
    std::string result = path;
    g_variant_unref(reply);
    return result;
}

}  // namespace

std::unique_ptr<LoginLock> LoginLock::Watch(std::function<void(bool)> changed) {
    GObjectPtr<GDBusConnection> bus(g_bus_get_sync(G_BUS_TYPE_SYSTEM, nullptr, nullptr));
    if (!bus) return nullptr;
    const std::string path = SessionPath(bus.get());
    if (path.empty()) return nullptr;
    GObjectPtr<GDBusProxy> session(g_dbus_proxy_new_sync(bus.get(), G_DBUS_PROXY_FLAGS_NONE, nullptr, kLogin,
                                                         path.c_str(), "org.freedesktop.login1.Session",
                                                         nullptr, nullptr));
    if (!session) return nullptr;
    return std::unique_ptr<LoginLock>(new LoginLock(std::move(session), std::move(changed)));
}

LoginLock::LoginLock(GObjectPtr<GDBusProxy> session, std::function<void(bool)> changed)
    : session_(std::move(session)), changed_(std::move(changed)) {
    handler_ = g_signal_connect_swapped(session_.get(), "g-properties-changed",
                                        G_CALLBACK(+[](LoginLock* self) { self->Update(); }), this);
    GVariant* hint = g_dbus_proxy_get_cached_property(session_.get(), "LockedHint");
    if (hint != nullptr) {
        locked_ = g_variant_get_boolean(hint);
        g_variant_unref(hint);
    }
}

LoginLock::~LoginLock() { g_signal_handler_disconnect(session_.get(), handler_); }

void LoginLock::Update() {
    GVariant* hint = g_dbus_proxy_get_cached_property(session_.get(), "LockedHint");
    if (hint == nullptr) return;
    const bool locked = g_variant_get_boolean(hint);
    g_variant_unref(hint);
    if (locked == locked_) return;
    locked_ = locked;
    changed_(locked);
}

}  // namespace platform::session
