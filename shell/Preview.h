// Preview mode: paints the preview picture into the host's window.
#pragma once

#include "platform/winapi/WinTypes.h"

// Waits until the host's window is shown (ending if it no longer exists),
// then paints "PREV_BITMAP" unscaled at its (0, 0).
void RunPreview(HWND window);
