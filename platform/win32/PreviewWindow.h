// The preview protocol of Windows' screensaver hosts: /p <window> asks for a
// child window of the host's preview window that shows the program's picture
// for as long as the host keeps its window.
#pragma once

#include "platform/forms/Bitmap.h"
#include "platform/winapi/WinTypes.h"

namespace platform::win32 {

// Shows `picture` unscaled at the top-left corner of a child window covering
// `host`, on black, and returns when the host's window is gone (at once when
// `host` names no window).
void RunPreviewWindow(HWND host, const TBitmap& picture);

}  // namespace platform::win32
