// The program on Windows: the screensaver host's switches and nothing else.
// A host passes the window of /p and /a as the next argument and the owner
// of the settings dialog after a colon (/c:1234).
#include "platform/forms/Bitmap.h"
#include "platform/forms/Forms.h"
#include "platform/forms/SysUtils.h"
#include "platform/win32/CrashGamma.h"
#include "platform/win32/PreviewWindow.h"
#include "platform/win32/SaverDirectDraw.h"
#include "scene/SceneForm.h"
#include "settings/SetupDialog.h"
#include "shell/ModeDispatch.h"
#include "shell/PasswordChange.h"
#include "shell/Program.h"

#include <exception>

namespace {

HWND WindowOf(const std::string& text) { return reinterpret_cast<HWND>(INT_PTR(StrToInt(text))); }

// The owner a host names after the switch's colon; none without one, or
// when what follows is no number.
HWND DialogOwner(const std::string& switchText) {
    const std::size_t colon = switchText.find(':');
    if (colon == std::string::npos) return nullptr;
    try {
        return WindowOf(switchText.substr(colon + 1));
    } catch (const EConvertError&) {
        return nullptr;
    }
}

void RunSaver() {
    platform::win32::RestoreGammaOnCrash();
    const platform::win32::SaverDirectDraw directDraw;
    Application->Initialize();
    Application->CreateForm<SceneForm>();
    Application->Run();
}

void RunConfiguration(HWND owner) {
    Application->Initialize();
    Application->Title = "Tideway Island Screensaver ";
    RunSetupDialog(owner);
}

void RunPreview(HWND host) {
    if (const auto picture = platform::LoadBitmapResource("PREV_BITMAP"))
        platform::win32::RunPreviewWindow(host, *picture);
}

void Dispatch(const std::vector<std::string>& arguments) {
    const std::string first = arguments.empty() ? std::string() : arguments[0];
    // Converting a missing window argument is the same error as converting
    // a wrong one.
    const std::string second = arguments.size() > 1 ? arguments[1] : std::string();
    // The shell's "Configure" verb passes no argument.
    switch (ChooseMode(arguments, SaverMode::Configure)) {
    case SaverMode::Saver:
        RunSaver();
        break;
    case SaverMode::Configure:
        RunConfiguration(DialogOwner(first));
        break;
    case SaverMode::Preview:
        RunPreview(WindowOf(second));
        break;
    case SaverMode::ChangePassword:
        RunPasswordChange(WindowOf(second));
        break;
    }
}

}  // namespace

int RunProgram(const std::vector<std::string>& arguments) {
    // A screensaver is often run from where it was downloaded: no DLL lying
    // beside it may be loaded in the system's place. The libraries Windows
    // does not map itself (KnownDLLs) are delay-loaded, so none is loaded
    // before this.
    SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
    try {
        Dispatch(arguments);
    } catch (const std::exception& error) {
        Application->HandleException(error);
    }
    return 0;
}
