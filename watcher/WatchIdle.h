// tidereach --watch-idle: a session program that starts the saver when the
// session has been idle for a while, on desktops without a screensaver host.
#pragma once

#include <optional>

// Idle for `afterSeconds`, or without it for the minutes the settings
// dialog stored. Returns the program's exit code: 0 when ended by a signal
// or the session, or when a screensaver host runs.
int RunWatchIdle(std::optional<int> afterSeconds);
