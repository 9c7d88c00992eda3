// Process-level services: the local clock, the table of libraries the
// platform provides, and the version it reports.
#include "platform/winapi/Kernel.h"

#include "platform/seam/Backend.h"
#include "platform/winapi/DirectDraw.h"

#include <time.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <optional>
#include <string_view>

struct Module {
    std::string_view name;
};

namespace {

Module directDrawLibrary{"ddraw.dll"};

bool SameNameIgnoringCase(std::string_view a, std::string_view b) {
    return std::ranges::equal(
        a, b, [](unsigned char x, unsigned char y) { return std::tolower(x) == std::tolower(y); });
}

SYSTEMTIME ReadLocalClock() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    tm local{};
    localtime_r(&now.tv_sec, &local);
    SYSTEMTIME time{};
    time.wYear = WORD(local.tm_year + 1900);
    time.wMonth = WORD(local.tm_mon + 1);
    time.wDayOfWeek = WORD(local.tm_wday);
    time.wDay = WORD(local.tm_mday);
    time.wHour = WORD(local.tm_hour);
    time.wMinute = WORD(local.tm_min);
    // A leap second is shown as the last second of its minute.
    time.wSecond = WORD(std::min(local.tm_sec, 59));
    time.wMilliseconds = WORD(now.tv_nsec / 1'000'000);
    return time;
}

}  // namespace

void GetLocalTime(SYSTEMTIME* time) {
    if (time == nullptr) {
        return;
    }
    const std::optional<SYSTEMTIME> own = platform::CurrentBackend().LocalTime();
    *time = own ? *own : ReadLocalClock();
}

HMODULE LoadLibraryA(const char* name) {
    if (name == nullptr) {
        return nullptr;
    }
    // As on the original platform, a name without an extension means a DLL.
    const std::string_view requested(name);
    if (SameNameIgnoringCase(requested, directDrawLibrary.name) || SameNameIgnoringCase(requested, "ddraw")) {
        return &directDrawLibrary;
    }
    return nullptr;
}

HMODULE LoadLibraryExA(const char* name, void*, DWORD) { return LoadLibraryA(name); }

void* GetProcAddress(HMODULE module, const char* procName) {
    if (module != &directDrawLibrary || procName == nullptr) {
        return nullptr;
    }
    const std::string_view name(procName);
    if (name == "DirectDrawEnumerateExA") {
        return reinterpret_cast<void*>(&DirectDrawEnumerateExA);
    }
    if (name == "DirectDrawCreate") {
        return reinterpret_cast<void*>(&DirectDrawCreate);
    }
    return nullptr;
}

BOOL FreeLibrary(HMODULE module) { return module == &directDrawLibrary ? TRUE : FALSE; }

BOOL GetVersionExA(OSVERSIONINFOA* info) {
    if (info == nullptr || info->dwOSVersionInfoSize < sizeof(OSVERSIONINFOA)) {
        return FALSE;
    }
    // The NT family: the desktop's own screen locker guards the session, so
    // the saver asks for no password itself.
    info->dwMajorVersion = 5;
    info->dwMinorVersion = 1;
    info->dwBuildNumber = 2600;
    info->dwPlatformId = VER_PLATFORM_WIN32_NT;
    std::memset(info->szCSDVersion, 0, sizeof info->szCSDVersion);
    return TRUE;
}
