// DialogWindow over the dialog module, loaded on first use.
#include "platform/forms/DialogWindow.h"

#include "platform/forms/DialogToolkit.h"

#include <dlfcn.h>

#include <filesystem>
#include <stdexcept>
#include <system_error>
#include <vector>

namespace platform {
namespace {

// Where the module may be: already loaded (a test program links it), beside
// the program (the build tree), or in the program's library folder.
std::vector<std::string> ModulePlaces() {
    std::vector<std::string> places;
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error) {
        const std::filesystem::path folder = program.parent_path();
        places.push_back(folder / kDialogModule);
        places.push_back(folder / TIDEREACH_DIALOG_MODULE_FROM_PROGRAM / kDialogModule);
    }
    return places;
}

// The loaded module's toolkit, or null with the reason in `error`.
const DialogToolkit* LoadToolkit(std::string* error) {
    static const DialogToolkit* toolkit = nullptr;
    if (toolkit != nullptr) return toolkit;
    void* module = dlopen(kDialogModule, RTLD_NOW | RTLD_NOLOAD);
    std::string reasons;
    for (const std::string& place : ModulePlaces()) {
        if (module != nullptr) break;
        module = dlopen(place.c_str(), RTLD_NOW);
        if (module == nullptr) reasons = dlerror();
    }
    if (module == nullptr) {
        if (error != nullptr) *error = "cannot load the settings dialog's module: " + reasons;
        return nullptr;
    }
    const auto entry = reinterpret_cast<DialogToolkitEntry>(dlsym(module, kDialogToolkitEntry));
    if (entry == nullptr) {
        if (error != nullptr) *error = std::string("the settings dialog's module is damaged: ") + dlerror();
        return nullptr;
    }
    toolkit = entry();
    return toolkit;
}

}  // namespace

bool OpenDialogDisplay(std::string* error) {
    const DialogToolkit* toolkit = LoadToolkit(error);
    return toolkit != nullptr && toolkit->openDisplay(error);
}

DialogWindow::DialogWindow(TDialogForm& form, HWND) {
    std::string error;
    const DialogToolkit* toolkit = LoadToolkit(&error);
    if (toolkit == nullptr) throw std::runtime_error(error);
    view_ = toolkit->makeView(form);
}

DialogWindow::~DialogWindow() = default;

void DialogWindow::Show() { view_->Show(); }

void DialogWindow::Run() { view_->Run(); }

}  // namespace platform
