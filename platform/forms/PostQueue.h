// Work queued for the application's window thread from any thread, and how
// the window system wakes that thread for it. Internal to platform/.
#pragma once

#include "platform/forms/Forms.h"

#include <deque>
#include <functional>
#include <mutex>
#include <utility>

struct TApplication::PostQueue {
    explicit PostQueue(std::function<void()> wakeWindowThread) : wake(std::move(wakeWindowThread)) {}

    std::function<void()> Take() {
        std::lock_guard guard(lock);
        if (work.empty()) return {};
        auto next = std::move(work.front());
        work.pop_front();
        return next;
    }

    bool Empty() {
        std::lock_guard guard(lock);
        return work.empty();
    }

    std::mutex lock;
    std::deque<std::function<void()>> work;
    // Ends the window thread's wait for events; callable from any thread.
    const std::function<void()> wake;
};
