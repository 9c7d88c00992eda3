// Preview mode: paints the preview picture into the host's window.
#pragma once

#include <string>

// Converts the window argument, waits until that window is shown (ending if
// it no longer exists), paints "PREV_BITMAP" unscaled at (0, 0).
void RunPreview(const std::string& windowArgument);
