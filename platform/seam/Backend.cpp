#include "platform/seam/Backend.h"

#include "platform/seam/DefaultBackend.h"

#include <atomic>
#include <mutex>
#include <utility>

namespace platform {
namespace {

struct Installed {
    std::mutex lock;  // guards installing, not reading
    std::unique_ptr<Backend> backend;
    // What `backend` holds, read without the lock: the clocks ask for the
    // back end on every reading of the time.
    std::atomic<Backend*> current{nullptr};
};

Installed& Slot() {
    static Installed slot;
    return slot;
}

}  // namespace

// Without an installed back end (tests), the default one.
Backend& CurrentBackend() {
    Installed& slot = Slot();
    if (Backend* installed = slot.current.load(std::memory_order_acquire)) return *installed;
    const std::lock_guard guard(slot.lock);
    if (!slot.backend) {
        slot.backend = MakeDefaultBackend();
        slot.current.store(slot.backend.get(), std::memory_order_release);
    }
    return *slot.backend;
}

void InstallBackend(std::unique_ptr<Backend> backend) {
    Installed& slot = Slot();
    // The old back end is destroyed after the lock is let go.
    std::unique_ptr<Backend> previous;
    {
        const std::lock_guard guard(slot.lock);
        previous = std::exchange(slot.backend, std::move(backend));
        slot.current.store(slot.backend.get(), std::memory_order_release);
    }
}

}  // namespace platform
