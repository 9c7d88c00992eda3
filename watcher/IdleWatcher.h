// When the idle watcher starts the saver: once per idle spell, while nobody
// holds the screensaver off and the session is not locked. A lock ends a
// running saver, since the lock screen must never be covered, and the first
// spell after it begins with input after the unlock.
#pragma once

#include "platform/session/IdleSession.h"

class IdleWatcher final : public platform::session::SessionEvents {
public:
    explicit IdleWatcher(platform::session::SaverProcess& saver) : saver_(saver) {}

    void Idle() override;
    void Active() override;
    void Inhibited(bool held) override;
    void Locked(bool locked) override;
    void SaverEnded() override;

private:
    void StartWhenDue();

    platform::session::SaverProcess& saver_;
    bool idle_ = false;
    // The saver has run in this spell, or the spell began before an unlock:
    // nothing starts until input returns.
    bool spellUsed_ = false;
    bool inhibited_ = false;
    bool locked_ = false;
    bool running_ = false;
};
