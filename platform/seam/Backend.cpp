#include "platform/seam/Backend.h"

#include "platform/seam/DefaultBackend.h"

#include <mutex>
#include <utility>

namespace platform {
namespace {

struct Installed {
    std::mutex lock;
    std::unique_ptr<Backend> backend;
};

Installed& Slot() {
    static Installed slot;
    return slot;
}

}  // namespace

// Without an installed back end (tests), the default one.
Backend& CurrentBackend() {
    Installed& slot = Slot();
    const std::lock_guard guard(slot.lock);
    if (!slot.backend) slot.backend = MakeDefaultBackend();
    return *slot.backend;
}

void InstallBackend(std::unique_ptr<Backend> backend) {
    Installed& slot = Slot();
    // The old back end is destroyed after the lock is let go.
    std::unique_ptr<Backend> previous;
    {
        const std::lock_guard guard(slot.lock);
        previous = std::exchange(slot.backend, std::move(backend));
    }
}

}  // namespace platform
