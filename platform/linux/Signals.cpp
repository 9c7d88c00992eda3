#include "platform/linux/Signals.h"

#include <pthread.h>
#include <sys/prctl.h>

#include <csignal>
#include <cstdlib>
#include <thread>

namespace platform {

namespace {

sigset_t TerminationSignals() {
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGTERM);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGHUP);
    return signals;
}

// A child a library forks for us (the helper that shows a message box, say)
// would otherwise keep the signals blocked and stay on screen after a host
// has ended us.
void PrepareForkedChild() {
    const sigset_t signals = TerminationSignals();
    pthread_sigmask(SIG_UNBLOCK, &signals, nullptr);
    prctl(PR_SET_PDEATHSIG, SIGTERM);
}

}  // namespace

void ForwardTerminationSignals(std::function<void()> onSignal, std::chrono::milliseconds grace) {
    const sigset_t signals = TerminationSignals();
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
    pthread_atfork(nullptr, nullptr, PrepareForkedChild);
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
