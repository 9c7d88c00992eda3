// The colours of the dialog view's text labels. A form's own colours (navy
// labels, a silver note) are chosen for the standard scheme; in high
// contrast the user's scheme decides every text and background instead.
// Internal to platform/win32.
#pragma once

#include "platform/forms/StdCtrls.h"

namespace platform::win32 {

struct LabelColors {
    COLORREF text;
    COLORREF background;
};

// A form's colour as GDI takes it.
COLORREF ColorOf(TColor color);

// Whether the user has high contrast on, as the system tells it now.
bool HighContrastOn();

// A label's colours, from its text colour and its background.
LabelColors ColorsOfLabel(TColor text, TColor background, bool highContrast);

}  // namespace platform::win32
