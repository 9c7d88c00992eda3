// Password-change mode: asks the system's password provider, where one exists.
#pragma once

#include "platform/winapi/WinTypes.h"

void RunPasswordChange(HWND parent);
