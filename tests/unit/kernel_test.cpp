#include "platform/winapi/Kernel.h"

#include "platform/backends/headless/Headless.h"
#include "platform/winapi/DirectDraw.h"

#include <gtest/gtest.h>

#include <time.h>

namespace {

TEST(Libraries, OnlyThePlatformsDirectDrawExists) {
    const HMODULE ddraw = LoadLibraryA("ddraw.dll");
    ASSERT_NE(ddraw, nullptr);
    EXPECT_EQ(LoadLibraryA("DDRAW.DLL"), ddraw);
    EXPECT_EQ(LoadLibraryA("DDraw"), ddraw);

    for (const char* missing : {"MPR.DLL", "PASSWORD.CPL", "ddraw.dll.bak", "ddraw.cpl", ""}) {
        EXPECT_EQ(LoadLibraryA(missing), nullptr) << missing;
    }
    EXPECT_EQ(LoadLibraryA(nullptr), nullptr);
    EXPECT_EQ(LoadLibraryExA("ddraw.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32), ddraw);
    EXPECT_EQ(LoadLibraryExA("MPR.DLL", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32), nullptr);

    EXPECT_EQ(GetProcAddress(ddraw, "DirectDrawEnumerateExA"),
              reinterpret_cast<void*>(&DirectDrawEnumerateExA));
    // Entry names match exactly, as on the original platform.
    EXPECT_EQ(GetProcAddress(ddraw, "directdrawenumerateexa"), nullptr);
    EXPECT_EQ(GetProcAddress(ddraw, "VerifyScreenSavePwd"), nullptr);
    EXPECT_EQ(GetProcAddress(nullptr, "DirectDrawEnumerateExA"), nullptr);

    EXPECT_EQ(FreeLibrary(ddraw), TRUE);
    EXPECT_EQ(FreeLibrary(nullptr), FALSE);
}

TEST(Version, ReportsTheNtFamilyToCallersThatSizeTheRecord) {
    OSVERSIONINFOA info{};
    EXPECT_EQ(GetVersionExA(&info), FALSE);
    EXPECT_EQ(info.dwPlatformId, 0u);

    info.dwOSVersionInfoSize = sizeof info;
    ASSERT_EQ(GetVersionExA(&info), TRUE);
    EXPECT_EQ(info.dwPlatformId, VER_PLATFORM_WIN32_NT);
    EXPECT_EQ(info.dwMajorVersion, 5u);
    EXPECT_EQ(info.dwMinorVersion, 1u);
    EXPECT_EQ(GetVersionExA(nullptr), FALSE);
}

TEST(LocalTime, ReadsTheClockOrTheOverride) {
    const SYSTEMTIME fixed{2024, 2, 4, 29, 23, 59, 58, 999};
    platform::headless::SetLocalTime(fixed);
    SYSTEMTIME seen{};
    GetLocalTime(&seen);
    EXPECT_EQ(seen.wYear, 2024);
    EXPECT_EQ(seen.wMonth, 2);
    EXPECT_EQ(seen.wDay, 29);
    EXPECT_EQ(seen.wHour, 23);
    EXPECT_EQ(seen.wMilliseconds, 999);

    platform::headless::SetLocalTime(std::nullopt);
    const time_t before = time(nullptr);
    GetLocalTime(&seen);
    tm local{};
    localtime_r(&before, &local);
    // Months and days count from 1, the weekday from Sunday = 0.
    EXPECT_EQ(seen.wYear, local.tm_year + 1900);
    EXPECT_EQ(seen.wMonth, local.tm_mon + 1);
    EXPECT_GE(seen.wDay, 1);
    EXPECT_LE(seen.wDay, 31);
    EXPECT_LE(seen.wDayOfWeek, 6);
    EXPECT_LE(seen.wHour, 23);
    EXPECT_LE(seen.wSecond, 59);
    EXPECT_LE(seen.wMilliseconds, 999);
    GetLocalTime(nullptr);
}

}  // namespace
