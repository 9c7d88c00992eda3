// Termination requests from outside: SIGTERM, SIGINT and SIGHUP, as
// screensaver hosts and terminals send them.
#pragma once

#include <chrono>
#include <functional>

namespace platform {

// Blocks the three signals in every thread made from now on and calls
// `onSignal` on a thread of its own when the first arrives. Call it before
// any other thread is started. The handler should hand the request to the
// window thread (TApplication::Post). A process still running `grace` after
// the request (its window thread held by a modal box, say) ends with exit
// code 0: a host that asked it to end must never be left with it.
// Children forked from then on start with the three signals unblocked and
// are sent SIGTERM when the thread that forked them ends.
void ForwardTerminationSignals(std::function<void()> onSignal, std::chrono::milliseconds grace);

}  // namespace platform
