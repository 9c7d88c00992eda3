// The toolkit's side of the dialog windows, in a module of its own that is
// loaded only when a dialog opens: the saver never loads the toolkit.
// Internal to platform/.
#pragma once

#include <memory>
#include <string>

class TDialogForm;

namespace platform {

// The window of one form (DialogWindow's contract).
class DialogView {
public:
    virtual ~DialogView() = default;
    virtual void Show() = 0;
    virtual void Run() = 0;
};

// What the module offers (OpenDialogDisplay's and DialogWindow's contracts).
struct DialogToolkit {
    bool (*openDisplay)(std::string* error);
    std::unique_ptr<DialogView> (*makeView)(TDialogForm& form);
};

// The module's file name, and the one function it exports.
inline constexpr const char* kDialogModule = "libtidereach_dialog.so";
inline constexpr const char* kDialogToolkitEntry = "TidereachDialogToolkit";
using DialogToolkitEntry = const DialogToolkit* (*)();

}  // namespace platform
