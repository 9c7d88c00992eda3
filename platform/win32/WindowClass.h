// The window classes of the program's own windows.
#pragma once

#include <windows.h>

namespace platform::win32 {

// Registers the class `name` of this module with `procedure`, the arrow
// cursor and `background` (none: the windows paint it themselves); a class
// registered before stays as it is. Throws when the system refuses it.
void RegisterWindowClass(const char* name, WNDPROC procedure, HBRUSH background = nullptr);

}  // namespace platform::win32
