// The settings dialog's Windows view is not built yet: the dialog says so in
// a box and closes.
#include "platform/DialogWindow.h"

namespace platform {

bool OpenDialogDisplay(std::string* /*error*/) { return true; }

struct DialogWindow::View {
    TDialogForm& form;
    HWND owner;
};

DialogWindow::DialogWindow(TDialogForm& form, HWND owner)
    : view_(std::make_unique<View>(View{form, owner})) {}

DialogWindow::~DialogWindow() = default;

void DialogWindow::Show() {}

void DialogWindow::Run() {
    MessageBoxA(view_->owner, "The settings dialog is not built for Windows yet.", "Screen saver",
                MB_OK | MB_ICONINFORMATION);
    view_->form.Close();
}

}  // namespace platform
