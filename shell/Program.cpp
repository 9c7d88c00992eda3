#include "shell/Program.h"

#include "platform/backends/sdl/Sdl.h"
#include "platform/forms/Forms.h"
#include "platform/forms/SysUtils.h"
#include "platform/linux/Signals.h"
#include "platform/winapi/User.h"
#include "scene/SceneForm.h"
#include "settings/SetupDialog.h"
#include "shell/CommandLine.h"
#include "shell/ModeDispatch.h"
#include "shell/PasswordChange.h"
#include "shell/Preview.h"
#include "shell/Snapshot.h"
#include "watcher/WatchIdle.h"

#include <cctype>
#include <cstdlib>
#include <exception>
#include <iostream>
#include <stdexcept>

namespace {

void RunSaver(const platform::sdl::Options& display, const SettingOverrides& overrides) {
    // A host ends its saver with a signal; the closing then runs on the
    // window thread like any other ending.
    platform::ForwardTerminationSignals(
        [] {
            Application->Post([] {
                if (auto* scene = dynamic_cast<SceneForm*>(Application->MainForm))
                    scene->CloseSaver();
                else
                    Application->Terminate();
            });
        },
        std::chrono::seconds(3));
    std::string error;
    if (!platform::sdl::Install(display, &error)) {
        if (display.host) {
            // A host's window has no one to read a box: the reason goes to
            // the host's log.
            std::cerr << "tidereach: " << error << "\n";
            return;
        }
        // The reason already names what failed; it starts the box's sentence.
        if (!error.empty()) error[0] = char(std::toupper(static_cast<unsigned char>(error[0])));
        MessageBoxA(0, error.c_str(), "Screen saver", MB_OK);
        return;
    }
    Application->Initialize();
    SceneOptions options;
    options.overrides = overrides;
    Application->CreateForm<SceneForm>(options);
    Application->Run();
}

void RunConfiguration() {
    Application->Initialize();
    Application->Title = "Tideway Island Screensaver ";
    RunSetupDialog();
}

// The display of the saver: full screen, an ordinary window, or a host's.
platform::sdl::Options SaverDisplay(const CommandLine& line) {
    platform::sdl::Options display;
    display.windowed = line.window;
    display.host = line.host;
    return display;
}

// A display for the boxes and windows of the host switches, if any.
bool InstallWindowedDisplay() {
    platform::sdl::Options display;
    display.windowed = true;
    return platform::sdl::Install(display);
}

void Dispatch(const CommandLine& line) {
    const std::vector<std::string>& host = line.hostArguments;
    const SaverMode mode = line.window || line.host ? SaverMode::Saver : ChooseMode(host, SaverMode::Saver);
    // The window argument of /p and /a; converting a missing one is the
    // same error as converting a wrong one.
    const std::string second = host.size() > 1 ? host[1] : std::string();
    auto window = [&] { return HWND(unsigned(StrToInt(second))); };
    switch (mode) {
    case SaverMode::Saver:
        RunSaver(SaverDisplay(line), line.overrides);
        break;
    case SaverMode::Configure:
        RunConfiguration();
        break;
    case SaverMode::Preview: {
        const bool display = InstallWindowedDisplay();
        const HWND preview = window();  // a wrong argument is reported either way
        if (display) RunPreview(preview);
        break;
    }
    case SaverMode::ChangePassword:
        InstallWindowedDisplay();  // a display, if any, shows the boxes
        RunPasswordChange(window());
        break;
    }
}

}  // namespace

int RunProgram(const std::vector<std::string>& arguments) {
    CommandLine line;
    try {
        line = ParseCommandLine(arguments, std::getenv("XSCREENSAVER_WINDOW"));
    } catch (const std::invalid_argument& error) {
        std::cerr << "tidereach: " << error.what() << "\n";
        return 2;
    }
    if (line.help) {
        std::cout << UsageText();
        return 0;
    }
    if (line.version) {
        std::cout << "tidereach " << TIDEREACH_VERSION << "\n";
        return 0;
    }
    if (line.snapshot) return RunSnapshot(*line.snapshot, line.overrides);
    if (line.watchIdle) return RunWatchIdle(line.idleAfterSeconds);

    try {
        Dispatch(line);
    } catch (const std::exception& error) {
        Application->HandleException(error);
    }
    return 0;
}
