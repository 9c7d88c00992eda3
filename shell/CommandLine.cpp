#include "shell/CommandLine.h"

#include <charconv>
#include <stdexcept>

namespace {

std::invalid_argument Wrong(const std::string& message) {
    return std::invalid_argument(message + " (see --help)");
}

template <class Number>
Number ParseNumber(const std::string& option, const std::string& text, Number low, Number high) {
    Number value{};
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc() || stop != end || value < low || value > high)
        throw Wrong(option + " takes a whole number from " + std::to_string(low) + " to " +
                    std::to_string(high) + ", not '" + text + "'");
    return value;
}

// "WxH" or "WxHxBPP".
void ParseSize(const std::string& text, SnapshotRequest& request) {
    const std::size_t x1 = text.find('x');
    if (x1 == std::string::npos) throw Wrong("--size takes WIDTHxHEIGHT[xBITS], not '" + text + "'");
    const std::size_t x2 = text.find('x', x1 + 1);
    request.width = ParseNumber("--size", text.substr(0, x1), 16, 8192);
    request.height = ParseNumber("--size", text.substr(x1 + 1, x2 - x1 - 1), 16, 8192);
    if (x2 != std::string::npos) {
        request.bitsPerPixel = ParseNumber("--size", text.substr(x2 + 1), 16, 32);
        if (request.bitsPerPixel != 16 && request.bitsPerPixel != 24 && request.bitsPerPixel != 32)
            throw Wrong("--size takes 16, 24 or 32 bits per pixel");
    }
}

}  // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& arguments) {
    CommandLine result;
    SnapshotRequest snapshot;
    bool snapshotAsked = false;
    bool snapshotTuned = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument.rfind("--", 0) != 0) {
            result.hostArguments.push_back(argument);
            continue;
        }
        auto value = [&]() -> const std::string& {
            if (i + 1 >= arguments.size()) throw Wrong(argument + " needs a value");
            return arguments[++i];
        };
        if (argument == "--help") {
            result.help = true;
        } else if (argument == "--version") {
            result.version = true;
        } else if (argument == "--window") {
            result.window = true;
        } else if (argument == "--snapshot") {
            snapshot.file = value();
            snapshotAsked = true;
        } else if (argument == "--ticks") {
            snapshot.ticks = ParseNumber("--ticks", value(), 0, 10'000'000);
            snapshotTuned = true;
        } else if (argument == "--seed") {
            snapshot.seed = ParseNumber<std::uint32_t>("--seed", value(), 0, 0xFFFFFFFFu);
            snapshotTuned = true;
        } else if (argument == "--size") {
            ParseSize(value(), snapshot);
            snapshotTuned = true;
        } else {
            throw Wrong("unknown option " + argument);
        }
    }
    if (snapshotTuned && !snapshotAsked) throw Wrong("--ticks, --seed and --size go with --snapshot FILE.png");
    if (snapshotAsked) result.snapshot = snapshot;
    return result;
}

std::string UsageText() {
    return "Usage: tidereach [SWITCH] [OPTIONS]\n"
           "An animated tropical island: water, seagulls, dolphins, a yacht, an analog clock\n"
           "and a day-and-night light cycle.\n"
           "\n"
           "Screensaver host switches:\n"
           "  /s              run the screensaver full screen (the default)\n"
           "  /c              open the settings dialog\n"
           "  /p WINDOW       paint the preview picture into an X11 window\n"
           "  /a WINDOW       change the screensaver password (not available on Linux)\n"
           "\n"
           "Options:\n"
           "  --window        run the screensaver in an ordinary window\n"
           "  --snapshot FILE.png [--ticks N] [--seed S] [--size WxH[xBITS]]\n"
           "                  render the scene offscreen after N ticks and write it as PNG\n"
           "                  (default 0 ticks, seed 1, 1024x768x32)\n"
           "  --help          show this text\n"
           "  --version       show the version\n"
           "\n"
           "Settings are kept in $XDG_CONFIG_HOME/Corvane/Tidereach.reg (~/.config when unset).\n";
}
