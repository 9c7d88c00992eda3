#include "platform/linux/Signals.h"

#include <pthread.h>

#include <csignal>
#include <cstdlib>
#include <thread>

namespace platform {

void ForwardTerminationSignals(std::function<void()> onSignal, std::chrono::milliseconds grace) {
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGTERM);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGHUP);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
    // The waiting thread lives as long as the process; it never touches
    // state of its own that could outlive main.
    std::thread([signals, onSignal = std::move(onSignal), grace] {
        int received = 0;
        if (sigwait(&signals, &received) != 0) return;
        onSignal();
        // Further signals stay blocked and pending: the ending is under way.
        std::this_thread::sleep_for(grace);
        std::_Exit(0);
    }).detach();
}

}  // namespace platform
