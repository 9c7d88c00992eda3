// Process-level services: local time, dynamic libraries, system version.
// On Windows they are the system's own.
#pragma once

#include "platform/winapi/WinTypes.h"

#ifdef _WIN32

// windows.h has declared them.
#else

void GetLocalTime(SYSTEMTIME* time);

// Libraries are looked up by name; only the platform's own "ddraw.dll" exists
// here, the password services of the original platform do not.
HMODULE LoadLibraryA(const char* name);
// Every library here is the system's own, so the search flags change nothing.
inline constexpr DWORD LOAD_LIBRARY_SEARCH_SYSTEM32 = 0x800;
HMODULE LoadLibraryExA(const char* name, void* file, DWORD flags);
void* GetProcAddress(HMODULE module, const char* procName);
BOOL FreeLibrary(HMODULE module);

inline constexpr DWORD VER_PLATFORM_WIN32_WINDOWS = 1;
inline constexpr DWORD VER_PLATFORM_WIN32_NT = 2;

struct OSVERSIONINFOA {
    DWORD dwOSVersionInfoSize;
    DWORD dwMajorVersion;
    DWORD dwMinorVersion;
    DWORD dwBuildNumber;
    DWORD dwPlatformId;
    char szCSDVersion[128];
};
BOOL GetVersionExA(OSVERSIONINFOA* info);

#endif  // _WIN32
