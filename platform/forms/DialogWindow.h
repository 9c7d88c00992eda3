// Dialog forms on the desktop's toolkit: a window that shows a form's
// controls, mirrors their state and passes the user's actions to them.
#pragma once

#include "platform/forms/StdCtrls.h"

#include <memory>
#include <string>

namespace platform {

class DialogView;

// Connects to the desktop. From then on message boxes and the colour dialog
// are the toolkit's own, and GetDC(0) describes the real screen. False, with
// the reason in `error`, when there is no display to connect to.
bool OpenDialogDisplay(std::string* error = nullptr);

// A window for one form; needs OpenDialogDisplay first (else it throws). An error a handler
// raises is shown in the application's error box, and the dialog goes on.
// On Windows the dialog is modal to `owner` (a host's window) when one is
// given; on Linux a host's window is not used.
class DialogWindow {
public:
    explicit DialogWindow(TDialogForm& form, HWND owner = 0);
    ~DialogWindow();
    DialogWindow(const DialogWindow&) = delete;
    DialogWindow& operator=(const DialogWindow&) = delete;

    // Shows the window centred on the screen; returns once it is drawn.
    void Show();
    // Shows the window and handles the user's actions until the form
    // closes; the window's close box closes it too.
    void Run();

private:
    std::unique_ptr<DialogView> view_;
};

}  // namespace platform
