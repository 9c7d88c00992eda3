// The headless back end: offscreen screens, scripted input, read-back of
// presented frames and message boxes, clocks of its own and fault injection
// into the display operations.
#pragma once

#include "platform/forms/Bitmap.h"
#include "platform/seam/Backend.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace platform::headless {

struct Config {
    ScreenMode desktop{1024, 768, 32};
    int monitors = 1;
    bool gamma = true;
    // The modes the display offers; none given: the desktop's and the
    // standard sizes at 16, 24 and 32 bits.
    std::optional<std::vector<ScreenMode>> offeredModes = std::nullopt;
    // What the colour dialog answers; none given: the user cancels it.
    std::optional<COLORREF> chosenColor = std::nullopt;
    // Runs while a message box shows, given the box's owner: what a test
    // looks at then. The box is answered with its default button after.
    std::function<void(HWND owner)> whileMessageBoxShows = nullptr;
};

// Installs a fresh headless back end as the process's back end.
void Install(const Config& config = {});

using DisplayOp = platform::DisplayOp;

// The next `times` calls of `op`, after the first `skip` of them, answer
// `code` and do nothing else.
void InjectFault(DisplayOp op, HRESULT code, int times = 1, int skip = 0);
void ClearFaults();
// How many calls of `op` were made since the last ClearFaults.
int CallCount(DisplayOp op);

// The clocks GetLocalTime and timeGetTime read while a headless back end is
// installed: a fixed local time, and a function for the millisecond clock.
// Neither given: the system's clocks. Like the faults they belong to the
// process, so a clock set before a back end is installed applies to it.
void SetLocalTime(std::optional<SYSTEMTIME> time);
void SetTickClock(std::function<DWORD()> clock);

struct MessageBoxRecord {
    std::string caption;
    std::string text;
};
// The message boxes the installed back end was shown, oldest first.
std::vector<MessageBoxRecord> ShownMessageBoxes();
void ClearShownMessageBoxes();

// The last frame presented, at the display mode's size, gamma applied.
std::optional<TBitmap> LastPresentedFrame();
int PresentedFrameCount();
// The last picture painted into a window (PaintBitmap), if any.
std::optional<TBitmap> LastPaintedPicture(HWND window);
// The window that holds the screen exclusively; 0 when none does.
HWND FullScreenWindow();
bool CursorVisible();

// Scripted input, delivered to the given window, or to the first window made
// when the window is 0.
void PushKeyDown(WORD virtualKey, unsigned shift = 0, HWND window = 0);
void PushCharacter(char character, HWND window = 0);
void PushMouseMove(int x, int y, HWND window = 0);
void PushClose(HWND window = 0);

}  // namespace platform::headless
