// Window-system services used outside the forms: message boxes, cursor,
// system parameters, monitors, the shell. On Windows they are the system's own.
#pragma once

#include "platform/winapi/WinTypes.h"

#ifdef _WIN32

#include <shellapi.h>

#else

#include <cstdint>

inline constexpr UINT MB_OK = 0x00000000;
inline constexpr UINT MB_ICONERROR = 0x00000010;
inline constexpr UINT MB_ICONWARNING = 0x00000030;
inline constexpr UINT MB_ICONINFORMATION = 0x00000040;
inline constexpr int IDOK = 1;

// Shows a modal box; every box is also written to standard error as
// "caption: text". The headless back end only writes it and answers IDOK.
int MessageBoxA(HWND owner, const char* text, const char* caption, UINT type);

int ShowCursor(BOOL show);

inline constexpr UINT SPI_SETSCREENSAVERRUNNING = 97;
BOOL SystemParametersInfoA(UINT action, UINT param, void* pvParam, UINT winIni);

inline constexpr int SM_CMONITORS = 80;
int GetSystemMetrics(int index);

BOOL IsWindowVisible(HWND window);

inline constexpr int SW_SHOWNORMAL = 1;
// Opens a file or address with the desktop's default handler; returns a value
// above 32 on success.
std::intptr_t ShellExecuteA(HWND owner, const char* operation, const char* file, const char* parameters,
                            const char* directory, int showCommand);

#endif  // _WIN32
