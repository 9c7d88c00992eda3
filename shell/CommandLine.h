// The command line: options for Linux users and screensaver hosts, read
// before the host switches, which keep their own rules (ModeDispatch.h).
#pragma once

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
    std::optional<SnapshotRequest> snapshot;
    // What is left for the host switches: the switch and its window argument.
    std::vector<std::string> hostArguments;
};

// Throws std::invalid_argument with a message fit for the user on a wrong
// or incomplete option.
CommandLine ParseCommandLine(const std::vector<std::string>& arguments);

// The text of --help.
std::string UsageText();
