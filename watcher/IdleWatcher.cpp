#include "watcher/IdleWatcher.h"

void IdleWatcher::Idle() {
    idle_ = true;
    StartWhenDue();
}

void IdleWatcher::Active() {
    idle_ = false;
    spellUsed_ = false;
}

void IdleWatcher::Inhibited(bool held) {
    inhibited_ = held;
    StartWhenDue();
}

void IdleWatcher::Locked(bool locked) {
    locked_ = locked;
    if (locked && running_) saver_.Stop();
    // Input rested through the lock screen does not count: the first spell
    // begins after the unlock.
    if (!locked) spellUsed_ = idle_;
}

void IdleWatcher::SaverEnded() {
    running_ = false;
    // A saver slow to close may end after the next spell has begun.
    StartWhenDue();
}

void IdleWatcher::StartWhenDue() {
    if (!idle_ || spellUsed_ || inhibited_ || locked_ || running_) return;
    running_ = true;
    spellUsed_ = true;
    saver_.Start();
}
