#include "platform/session/GnomeIdle.h"

namespace platform::session {

namespace {

constexpr const char* kMonitor = "org.gnome.Mutter.IdleMonitor";
constexpr const char* kMonitorPath = "/org/gnome/Mutter/IdleMonitor/Core";
constexpr const char* kSessionManager = "org.gnome.SessionManager";
constexpr const char* kSessionManagerPath = "/org/gnome/SessionManager";
// GsmInhibitorFlag: the session marked idle.
constexpr guint32 kInhibitIdle = 8;

GVariant* Call(GDBusConnection* bus, const char* name, const char* path, const char* interface,
               const char* method, GVariant* parameters, const GVariantType* reply) {
    return g_dbus_connection_call_sync(bus, name, path, interface, method, parameters, reply,
                                       G_DBUS_CALL_FLAGS_NONE, 5000, nullptr, nullptr);
}

}  // namespace

std::unique_ptr<GnomeIdle> GnomeIdle::Open(GDBusConnection* bus, std::chrono::milliseconds after) {
    GVariant* reply =
        Call(bus, kMonitor, kMonitorPath, kMonitor, "GetIdletime", nullptr, G_VARIANT_TYPE("(t)"));
    if (reply == nullptr) return nullptr;
    g_variant_unref(reply);
    return std::unique_ptr<GnomeIdle>(new GnomeIdle(bus, after));
}

GnomeIdle::GnomeIdle(GDBusConnection* bus, std::chrono::milliseconds after)
    : bus_(G_DBUS_CONNECTION(g_object_ref(bus))), after_(after) {}

GnomeIdle::~GnomeIdle() {
    if (firedSignal_ != 0) g_dbus_connection_signal_unsubscribe(bus_.get(), firedSignal_);
    for (const unsigned signal : inhibitorSignals_) g_dbus_connection_signal_unsubscribe(bus_.get(), signal);
}

std::uint32_t GnomeIdle::AddWatch(const char* method, GVariant* parameters) {
    GVariant* reply =
        Call(bus_.get(), kMonitor, kMonitorPath, kMonitor, method, parameters, G_VARIANT_TYPE("(u)"));
    if (reply == nullptr) return 0;
    guint32 id = 0;
    g_variant_get(reply, "(u)", &id);
    g_variant_unref(reply);
    return id;
}

void GnomeIdle::Watch(std::function<void()> idle, std::function<void()> active) {
    idle_ = std::move(idle);
    active_ = std::move(active);
    firedSignal_ = g_dbus_connection_signal_subscribe(
        bus_.get(), kMonitor, kMonitor, "WatchFired", kMonitorPath, nullptr, G_DBUS_SIGNAL_FLAGS_NONE,
        [](GDBusConnection*, const char*, const char*, const char*, const char*, GVariant* parameters,
           void* self) {
            guint32 id = 0;
            g_variant_get(parameters, "(u)", &id);
            static_cast<GnomeIdle*>(self)->WatchFired(id);
        },
        this, nullptr);
    idleWatch_ = AddWatch("AddIdleWatch", g_variant_new("(t)", guint64(after_.count())));
    // A watch tells of crossings only: a session already idle is told now.
    GVariant* reply =
        Call(bus_.get(), kMonitor, kMonitorPath, kMonitor, "GetIdletime", nullptr, G_VARIANT_TYPE("(t)"));
    guint64 idleTime = 0;
    if (reply != nullptr) {
        g_variant_get(reply, "(t)", &idleTime);
        g_variant_unref(reply);
    }
    if (idleTime >= guint64(after_.count())) WatchFired(idleWatch_);
}

void GnomeIdle::WatchFired(std::uint32_t id) {
    if (id == idleWatch_ && activeWatch_ == 0) {
        // A user-active watch fires once, at the first input.
        activeWatch_ = AddWatch("AddUserActiveWatch", nullptr);
        idle_();
    } else if (id == activeWatch_ && id != 0) {
        activeWatch_ = 0;
        active_();
    }
}

void GnomeIdle::WatchInhibitors(std::function<void(bool)> changed) {
    inhibited_ = std::move(changed);
    for (const char* signal : {"InhibitorAdded", "InhibitorRemoved"}) {
        inhibitorSignals_.push_back(g_dbus_connection_signal_subscribe(
            bus_.get(), kSessionManager, kSessionManager, signal, kSessionManagerPath, nullptr,
            G_DBUS_SIGNAL_FLAGS_NONE,
            [](GDBusConnection*, const char*, const char*, const char*, const char*, GVariant*, void* self) {
                static_cast<GnomeIdle*>(self)->AskInhibited();
            },
            this, nullptr));
    }
    AskInhibited();
}

void GnomeIdle::AskInhibited() {
    GVariant* reply = Call(bus_.get(), kSessionManager, kSessionManagerPath, kSessionManager, "IsInhibited",
                           g_variant_new("(u)", kInhibitIdle), G_VARIANT_TYPE("(b)"));
    gboolean held = FALSE;
    if (reply != nullptr) {
        g_variant_get(reply, "(b)", &held);
        g_variant_unref(reply);
    }
    if (bool(held) == held_) return;
    held_ = held;
    inhibited_(held_);
}

}  // namespace platform::session
