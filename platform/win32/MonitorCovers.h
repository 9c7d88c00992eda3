// Black top-most windows over the monitors a full-screen form leaves: the
// saver covers every monitor, not only the one it draws on. A cover is owned
// by the form, so it goes with the form's window at the latest; the pointer
// moving over it moves over the form.
#pragma once

#include <windows.h>

#include <span>
#include <vector>

namespace platform::win32 {

// The monitors EnumDisplayMonitors reports, but the one `window` is on.
std::vector<RECT> OtherMonitors(HWND window);

// Covers each of `monitors` with a black top-most window owned by `owner`
// that never takes the keyboard.
void CoverMonitors(HWND owner, std::span<const RECT> monitors);

// The covers `owner` has.
std::vector<HWND> CoversOf(HWND owner);

// Takes the covers of `owner` away.
void RemoveCovers(HWND owner);

}  // namespace platform::win32
