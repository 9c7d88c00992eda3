#include "platform/Signals.h"

#include <csignal>
#include <pthread.h>
#include <thread>

namespace platform {

void ForwardTerminationSignals(std::function<void()> onSignal) {
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGTERM);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGHUP);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
    // The waiting thread lives as long as the process; it never touches
    // state of its own that could outlive main.
    std::thread([signals, onSignal = std::move(onSignal)] {
        for (;;) {
            int received = 0;
            if (sigwait(&signals, &received) == 0) onSignal();
        }
    }).detach();
}

}  // namespace platform
