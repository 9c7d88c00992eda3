// Whether the session is locked, as logind's LockedHint tells it: lockers
// of every desktop set it. Without logind the session counts as unlocked.
#pragma once

#include "platform/session/GObjectPtr.h"

#include <gio/gio.h>

#include <functional>
#include <memory>

namespace platform::session {

class LoginLock {
public:
    // nullptr where the system bus or this session's record is missing.
    // `changed` is told of every change from the default main context.
    static std::unique_ptr<LoginLock> Watch(std::function<void(bool locked)> changed);
    ~LoginLock();
    LoginLock(const LoginLock&) = delete;
    LoginLock& operator=(const LoginLock&) = delete;

    bool Locked() const { return locked_; }

private:
    LoginLock(GObjectPtr<GDBusProxy> session, std::function<void(bool)> changed);
    void Update();

    GObjectPtr<GDBusProxy> session_;
    std::function<void(bool)> changed_;
    unsigned long handler_ = 0;
    bool locked_ = false;
};

}  // namespace platform::session
