#include "shell/Program.h"

#include "platform/Forms.h"
#include "platform/Signals.h"
#include "platform/SysUtils.h"
#include "platform/User.h"
#include "platform/sdl/SdlBackend.h"
#include "scene/Unit1.h"
#include "settings/Unit2.h"
#include "shell/CommandLine.h"
#include "shell/ModeDispatch.h"
#include "shell/PasswordChange.h"
#include "shell/Preview.h"
#include "shell/Snapshot.h"

#include <exception>
#include <iostream>
#include <stdexcept>

namespace {

void RunSaver(bool inWindow) {
    // A host ends its saver with a signal; the closing then runs on the
    // window thread like any other ending.
    platform::ForwardTerminationSignals([] {
        Application->Post([] {
            if (auto* scene = dynamic_cast<TForm1*>(Application->MainForm))
                scene->CloseSaver();
            else
                Application->Terminate();
        });
    });
    std::string error;
    if (!platform::sdl::Install({.windowed = inWindow}, &error)) {
        MessageBoxA(0, ("Cannot open the display: " + error).c_str(), "Screen saver", MB_OK);
        return;
    }
    Application->Initialize();
    Application->CreateForm<TForm1>();
    Application->Run();
}

void RunConfiguration() {
    Application->Initialize();
    Application->Title = "Tideway Island Screensaver ";
    RunSetupDialog();
}

void Dispatch(const CommandLine& line) {
    const std::vector<std::string>& host = line.hostArguments;
    const std::string first = host.empty() ? std::string() : host[0];
    const SaverMode mode = line.window ? SaverMode::Saver : ChooseMode(first);
    // The window argument of /p and /a; converting a missing one is the
    // same error as converting a wrong one.
    const std::string second = host.size() > 1 ? host[1] : std::string();
    auto window = [&] { return HWND(unsigned(StrToInt(second))); };
    switch (mode) {
        case SaverMode::Saver:
            RunSaver(line.window);
            break;
        case SaverMode::Configure:
            RunConfiguration();
            break;
        case SaverMode::Preview:
        {
            const bool display = platform::sdl::Install({.windowed = true});
            const HWND preview = window();  // a wrong argument is reported either way
            if (display) RunPreview(preview);
            break;
        }
        case SaverMode::ChangePassword:
            platform::sdl::Install({.windowed = true});  // a display, if any, shows the boxes
            RunPasswordChange(window());
            break;
    }
}

}  // namespace

int RunProgram(const std::vector<std::string>& arguments) {
    CommandLine line;
    try {
        line = ParseCommandLine(arguments);
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
    if (line.snapshot) return RunSnapshot(*line.snapshot);

    try {
        Dispatch(line);
    } catch (const std::exception& error) {
        Application->HandleException(error);
    }
    return 0;
}
