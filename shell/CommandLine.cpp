#include "shell/CommandLine.h"

#include <charconv>
#include <initializer_list>
#include <stdexcept>
#include <string_view>
#include <utility>

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

// An X window id as hosts write it: decimal or 0x hexadecimal.
unsigned long ParseWindowId(const std::string& source, const std::string& text) {
    const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    const std::string_view digits = std::string_view(text).substr(hex ? 2 : 0);
    unsigned long value = 0;
    const char* end = digits.data() + digits.size();
    const auto [stop, error] = std::from_chars(digits.data(), end, value, hex ? 16 : 10);
    if (digits.empty() || error != std::errc() || stop != end || value == 0 || value > 0xFFFFFFFFul)
        throw Wrong(source + " takes an X window id (decimal or 0x hexadecimal), not '" + text + "'");
    return value;
}

template <class Value>
Value ParseChoice(const std::string& option, const std::string& text,
                  std::initializer_list<std::pair<std::string_view, Value>> choices) {
    std::string names;
    for (const auto& [name, value] : choices) {
        if (text == name) return value;
        if (!names.empty()) names += '|';
        names += name;
    }
    throw Wrong(option + " takes " + names + ", not '" + text + "'");
}

bool ParseSwitch(const std::string& option, const std::string& text) {
    return ParseChoice<bool>(option, text, {{"on", true}, {"off", false}});
}

// What the options say, gathered before the modes are checked against each
// other.
struct Reading {
    CommandLine line;
    SnapshotRequest snapshot;
    bool snapshotAsked = false;
    bool snapshotTuned = false;
    bool root = false;
    std::optional<unsigned long> windowId;
};

// An option as written, and its value (empty for an option without one).
struct Given {
    const std::string& option;
    const std::string& value;
};

struct Option {
    std::string_view name;
    std::string_view alias;  // hosts write a few with one dash
    bool takesValue;
    void (*apply)(Reading& reading, const Given& given);
};

const Option kOptions[] = {
    {"--root", "-root", false, [](Reading& r, const Given&) { r.root = true; }},
    {"--window-id", "-window-id", true,
     [](Reading& r, const Given& g) { r.windowId = ParseWindowId(g.option, g.value); }},
    {"--help", {}, false, [](Reading& r, const Given&) { r.line.help = true; }},
    {"--version", {}, false, [](Reading& r, const Given&) { r.line.version = true; }},
    {"--window", {}, false, [](Reading& r, const Given&) { r.line.window = true; }},
    {"--watch-idle", {}, false, [](Reading& r, const Given&) { r.line.watchIdle = true; }},
    {"--after",
     {},
     true,
     [](Reading& r, const Given& g) { r.line.idleAfterSeconds = ParseNumber(g.option, g.value, 1, 86'400); }},
    {"--snapshot",
     {},
     true,
     [](Reading& r, const Given& g) {
         r.snapshot.file = g.value;
         r.snapshotAsked = true;
     }},
    {"--ticks",
     {},
     true,
     [](Reading& r, const Given& g) {
         r.snapshot.ticks = ParseNumber(g.option, g.value, 0, 10'000'000);
         r.snapshotTuned = true;
     }},
    {"--seed",
     {},
     true,
     [](Reading& r, const Given& g) {
         r.snapshot.seed = ParseNumber<std::uint32_t>(g.option, g.value, 0, 0xFFFFFFFFu);
         r.snapshotTuned = true;
     }},
    {"--size",
     {},
     true,
     [](Reading& r, const Given& g) {
         ParseSize(g.value, r.snapshot);
         r.snapshotTuned = true;
     }},
    {"--birds",
     {},
     true,
     [](Reading& r, const Given& g) { r.line.overrides.gullCount = ParseNumber(g.option, g.value, 0, 10); }},
    {"--speed",
     {},
     true,
     [](Reading& r, const Given& g) {
         r.line.overrides.speed = ParseChoice<Speed>(
             g.option, g.value, {{"slow", Speed::Slow}, {"normal", Speed::Normal}, {"fast", Speed::Fast}});
     }},
    {"--daytime",
     {},
     true,
     [](Reading& r, const Given& g) {
         r.line.overrides.daytime = ParseChoice<DaytimeMode>(
             g.option, g.value,
             {{"real", DaytimeMode::Real}, {"demo", DaytimeMode::Demo}, {"off", DaytimeMode::Off}});
     }},
    {"--clock",
     {},
     true,
     [](Reading& r, const Given& g) { r.line.overrides.showClock = ParseSwitch(g.option, g.value); }},
    {"--sound",
     {},
     true,
     [](Reading& r, const Given& g) { r.line.overrides.playSound = ParseSwitch(g.option, g.value); }},
    {"--fps",
     {},
     true,
     [](Reading& r, const Given& g) { r.line.overrides.showFrameRate = ParseSwitch(g.option, g.value); }},
};

const Option* FindOption(std::string_view argument) {
    for (const Option& option : kOptions)
        if (argument == option.name || (!option.alias.empty() && argument == option.alias)) return &option;
    return nullptr;
}

// The modes asked for, checked against each other, and the host's window.
CommandLine Conclude(Reading reading, const char* screensaverWindow) {
    CommandLine& result = reading.line;
    if (reading.snapshotTuned && !reading.snapshotAsked)
        throw Wrong("--ticks, --seed and --size go with --snapshot FILE.png");
    if (reading.snapshotAsked) result.snapshot = reading.snapshot;
    if (result.idleAfterSeconds && !result.watchIdle) throw Wrong("--after SECONDS goes with --watch-idle");
    if (result.watchIdle && (result.window || reading.snapshotAsked || reading.root || reading.windowId ||
                             !result.hostArguments.empty()))
        throw Wrong("--watch-idle starts the saver by itself and goes with no other mode");

    const bool otherMode =
        result.window || reading.snapshotAsked || result.watchIdle || !result.hostArguments.empty();
    if ((reading.root || reading.windowId) && otherMode)
        throw Wrong("-root and -window-id run the saver in a host's window and go with no other mode");
    // A host that names its window only in the environment runs the saver
    // with -root or with no switch at all.
    const bool hasEnvironmentWindow = screensaverWindow != nullptr && *screensaverWindow != '\0';
    if (reading.windowId) {
        result.host = platform::sdl::HostWindow{reading.windowId};
    } else if (hasEnvironmentWindow && (reading.root || !otherMode)) {
        result.host = platform::sdl::HostWindow{ParseWindowId("XSCREENSAVER_WINDOW", screensaverWindow)};
    } else if (reading.root) {
        result.host = platform::sdl::HostWindow{};
    }
    return std::move(result);
}

}  // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& arguments, const char* screensaverWindow) {
    Reading reading;
    static const std::string kNoValue;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        const Option* option = FindOption(argument);
        if (option == nullptr) {
            if (argument.rfind("--", 0) == 0) throw Wrong("unknown option " + argument);
            reading.line.hostArguments.push_back(argument);
            continue;
        }
        if (option->takesValue && i + 1 >= arguments.size()) throw Wrong(argument + " needs a value");
        const std::string& value = option->takesValue ? arguments[++i] : kNoValue;
        option->apply(reading, {argument, value});
    }
    return Conclude(std::move(reading), screensaverWindow);
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
           "  -root, --root   draw into the root window, or into $XSCREENSAVER_WINDOW when set\n"
           "  -window-id ID, --window-id ID\n"
           "                  draw into the X11 window ID (decimal or 0x hexadecimal)\n"
           "  --snapshot FILE.png [--ticks N] [--seed S] [--size WxH[xBITS]]\n"
           "                  render the scene offscreen after N ticks and write it as PNG\n"
           "                  (default 0 ticks, seed 1, 1024x768x32)\n"
           "  --watch-idle [--after SECONDS]\n"
           "                  start the saver full screen whenever the session has been idle\n"
           "                  for SECONDS (default: the minutes set in the dialog), on desktops\n"
           "                  without a screensaver host; runs until the session ends\n"
           "  --help          show this text\n"
           "  --version       show the version\n"
           "\n"
           "Settings for this run only (the stored settings are left as they are):\n"
           "  --birds N                  seagulls, 0 to 10\n"
           "  --speed slow|normal|fast   speed of the animation\n"
           "  --daytime real|demo|off    light of the real day, a fast demonstration day, or none\n"
           "  --clock on|off             the analog clock\n"
           "  --sound on|off             the sound of the sea\n"
           "  --fps on|off               the frame-rate line\n"
           "\n"
           "Settings are kept in $XDG_CONFIG_HOME/Corvane/Tidereach.reg (~/.config when unset).\n";
}
