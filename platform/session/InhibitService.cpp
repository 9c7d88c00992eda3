#include "platform/session/InhibitService.h"

namespace platform::session {

namespace {

constexpr const char* kInterface = R"(<node>
  <interface name="org.freedesktop.ScreenSaver">
    <method name="Inhibit">
      <arg name="application_name" type="s" direction="in"/>
      <arg name="reason_for_inhibit" type="s" direction="in"/>
      <arg name="cookie" type="u" direction="out"/>
    </method>
    <method name="UnInhibit">
      <arg name="cookie" type="u" direction="in"/>
    </method>
  </interface>
</node>)";

// Callers use either path.
constexpr const char* kPaths[] = {"/org/freedesktop/ScreenSaver", "/ScreenSaver"};

}  // namespace

InhibitService::InhibitService(GDBusConnection* bus, std::function<void(bool)> changed)
    : bus_(bus),
      changed_(std::move(changed)),
      introspection_(g_dbus_node_info_new_for_xml(kInterface, nullptr)) {
    static const GDBusInterfaceVTable vtable = {OnCall, nullptr, nullptr, {}};
    for (const char* path : kPaths) {
        const unsigned id = g_dbus_connection_register_object(bus_, path, introspection_->interfaces[0],
                                                              &vtable, this, nullptr, nullptr);
        if (id != 0) registrations_.push_back(id);
    }
    // Where another program owns the name, the holds go to it.
    name_ =
        g_bus_own_name_on_connection(bus_, "org.freedesktop.ScreenSaver", G_BUS_NAME_OWNER_FLAGS_DO_NOT_QUEUE,
                                     nullptr, nullptr, nullptr, nullptr);
}

InhibitService::~InhibitService() {
    g_bus_unown_name(name_);
    for (const unsigned id : registrations_) g_dbus_connection_unregister_object(bus_, id);
    for (auto& [sender, caller] : callers_) g_bus_unwatch_name(caller.watch);
    g_dbus_node_info_unref(introspection_);
}

void InhibitService::OnCall(GDBusConnection*, const char* sender, const char*, const char*,
                            const char* method, GVariant* parameters, GDBusMethodInvocation* invocation,
                            void* self) {
    auto* service = static_cast<InhibitService*>(self);
    if (g_strcmp0(method, "Inhibit") == 0) {
        const std::uint32_t cookie = service->Inhibit(sender != nullptr ? sender : "");
        g_dbus_method_invocation_return_value(invocation, g_variant_new("(u)", cookie));
    } else {
        std::uint32_t cookie = 0;
        g_variant_get(parameters, "(u)", &cookie);
        service->UnInhibit(cookie);
        g_dbus_method_invocation_return_value(invocation, nullptr);
    }
}

std::uint32_t InhibitService::Inhibit(const std::string& sender) {
    // Cookies are never 0, which some callers take for "none".
    do ++lastCookie_;
    while (lastCookie_ == 0 || holders_.count(lastCookie_) != 0);
    const bool first = holders_.empty();
    holders_[lastCookie_] = sender;
    Caller& caller = callers_[sender];
    if (caller.watch == 0) {
        caller.watch = g_bus_watch_name_on_connection(
            bus_, sender.c_str(), G_BUS_NAME_WATCHER_FLAGS_NONE, nullptr,
            [](GDBusConnection*, const char* name, void* self) {
                static_cast<InhibitService*>(self)->CallerLeft(name);
            },
            this, nullptr);
    }
    ++caller.holds;
    if (first) changed_(true);
    return lastCookie_;
}

void InhibitService::UnInhibit(std::uint32_t cookie) {
    const auto holder = holders_.find(cookie);
    if (holder == holders_.end()) return;
    const std::string sender = holder->second;
    holders_.erase(holder);
    if (--callers_[sender].holds == 0) Release(sender);
    if (holders_.empty()) changed_(false);
}

void InhibitService::CallerLeft(const std::string& sender) {
    const bool held = !holders_.empty();
    std::erase_if(holders_, [&](const auto& holder) { return holder.second == sender; });
    Release(sender);
    if (held && holders_.empty()) changed_(false);
}

void InhibitService::Release(const std::string& sender) {
    const auto caller = callers_.find(sender);
    if (caller == callers_.end()) return;
    g_bus_unwatch_name(caller->second.watch);
    callers_.erase(caller);
}

}  // namespace platform::session
