// org.freedesktop.ScreenSaver on the session bus, as browsers and video
// players call it to hold the screensaver off, offered where nobody else
// owns the name. A caller that leaves the bus lets go of all it held.
#pragma once

#include <gio/gio.h>

#include <cstdint>
#include <functional>
#include <map>
#include <string>

namespace platform::session {

class InhibitService {
public:
    // `changed` is told when the first hold is taken and when the last one
    // goes.
    InhibitService(GDBusConnection* bus, std::function<void(bool held)> changed);
    ~InhibitService();
    InhibitService(const InhibitService&) = delete;
    InhibitService& operator=(const InhibitService&) = delete;

private:
    struct Caller {
        unsigned watch = 0;
        int holds = 0;
    };

    static void OnCall(GDBusConnection*, const char* sender, const char* path, const char* interface,
                       const char* method, GVariant* parameters, GDBusMethodInvocation* invocation,
                       void* self);
    std::uint32_t Inhibit(const std::string& sender);
    void UnInhibit(std::uint32_t cookie);
    void CallerLeft(const std::string& sender);
    void Release(const std::string& sender);

    GDBusConnection* bus_;
    std::function<void(bool)> changed_;
    GDBusNodeInfo* introspection_ = nullptr;
    std::vector<unsigned> registrations_;
    unsigned name_ = 0;
    std::uint32_t lastCookie_ = 0;
    std::map<std::uint32_t, std::string> holders_;  // cookie -> caller
    std::map<std::string, Caller> callers_;
};

}  // namespace platform::session
