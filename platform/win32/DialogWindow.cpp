// The settings dialog's Windows view is not built yet: the dialog says so in
// a box and closes.
#include "platform/DialogWindow.h"

#include "platform/DialogToolkit.h"

namespace platform {
namespace {

class NotBuiltView : public DialogView {
public:
    NotBuiltView(TDialogForm& form, HWND owner) : form_(form), owner_(owner) {}
    void Show() override {}
    void Run() override {
        MessageBoxA(owner_, "The settings dialog is not built for Windows yet.", "Screen saver",
                    MB_OK | MB_ICONINFORMATION);
        form_.Close();
    }

private:
    TDialogForm& form_;
    HWND owner_;
};

}  // namespace

bool OpenDialogDisplay(std::string* /*error*/) { return true; }

DialogWindow::DialogWindow(TDialogForm& form, HWND owner)
    : view_(std::make_unique<NotBuiltView>(form, owner)) {}

DialogWindow::~DialogWindow() = default;

void DialogWindow::Show() { view_->Show(); }

void DialogWindow::Run() { view_->Run(); }

}  // namespace platform
