#include "shell/Preview.h"

#include "platform/forms/Bitmap.h"
#include "platform/forms/Forms.h"
#include "platform/seam/Backend.h"
#include "platform/winapi/Gdi.h"
#include "platform/winapi/User.h"

void RunPreview(HWND window) {
    platform::Backend& backend = platform::CurrentBackend();
    while (!IsWindowVisible(window)) {
        // A host may close its preview before showing it; then there is
        // nothing left to paint into.
        if (!backend.WindowExists(window)) return;
        Application->ProcessMessages();
        backend.WaitEvent(10);
    }
    HDC dc = GetDC(window);
    if (dc == nullptr) return;
    if (const auto picture = platform::LoadBitmapResource("PREV_BITMAP")) CanvasDraw(dc, 0, 0, *picture);
    ReleaseDC(window, dc);
}
