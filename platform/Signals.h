// Termination requests from outside: SIGTERM, SIGINT and SIGHUP, as
// screensaver hosts and terminals send them.
#pragma once

#include <functional>

namespace platform {

// Blocks the three signals in every thread made from now on and calls
// `onSignal` on a thread of its own for each one that arrives. Call it
// before any other thread is started. The handler should hand the request
// to the window thread (TApplication::Post).
void ForwardTerminationSignals(std::function<void()> onSignal);

}  // namespace platform
