// The command line: options for Linux users and screensaver hosts, read
// before the host switches, which keep their own rules (ModeDispatch.h).
#pragma once

#include "platform/backends/sdl/HostWindow.h"
#include "settings/SettingOverrides.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct SnapshotRequest {
    std::string file;
    int ticks = 0;
    std::uint32_t seed = 1;
    int width = 1024;
    int height = 768;
    int bitsPerPixel = 32;
};

struct CommandLine {
    bool help = false;
    bool version = false;
    bool window = false;  // the saver in an ordinary window
    bool watchIdle = false;
    std::optional<int> idleAfterSeconds;  // --after; without it, the stored minutes
    std::optional<SnapshotRequest> snapshot;
    // -root, -window-id ID, or a host's $XSCREENSAVER_WINDOW.
    std::optional<platform::sdl::HostWindow> host;
    SettingOverrides overrides;
    // What is left for the host switches: the switch and its window argument.
    std::vector<std::string> hostArguments;
};

// Throws std::invalid_argument with a message fit for the user on a wrong
// or incomplete option. `screensaverWindow` is $XSCREENSAVER_WINDOW: the
// window of -root, and of a run that names no other mode.
CommandLine ParseCommandLine(const std::vector<std::string>& arguments,
                             const char* screensaverWindow = nullptr);

// The text of --help.
std::string UsageText();
