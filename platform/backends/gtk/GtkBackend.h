// The back end while a dialog runs on GTK: the real screen's size and depth,
// GTK's message boxes and colour dialog. A dialog makes no windows, display
// devices or input of the back end's own, so those stay headless.
// Internal to platform/.
#pragma once

#include "platform/seam/ForwardingBackend.h"

#include <gtk/gtk.h>

#include <memory>

namespace platform::gtk {

// Needs GTK initialised.
std::unique_ptr<Backend> MakeBackend();

// The window that message boxes and the colour dialog belong to; null: none.
void SetDialogParent(GtkWindow* parent);

}  // namespace platform::gtk
