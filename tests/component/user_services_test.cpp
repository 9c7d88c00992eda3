#include "platform/backends/headless/Headless.h"
#include "platform/winapi/User.h"

#include <gtest/gtest.h>

namespace {

namespace headless = platform::headless;

TEST(MessageBoxes, AreRecordedAndWrittenToStandardError) {
    headless::Install();
    platform::headless::ClearShownMessageBoxes();
    testing::internal::CaptureStderr();
    EXPECT_EQ(MessageBoxA(0, "MPR.DLL not found: cannot change password.", "Screen saver", MB_OK), IDOK);
    EXPECT_EQ(MessageBoxA(0, "no caption", nullptr, MB_OK | MB_ICONERROR), IDOK);
    const std::string written = testing::internal::GetCapturedStderr();

    EXPECT_EQ(written, "Screen saver: MPR.DLL not found: cannot change password.\nError: no caption\n");
    const auto boxes = platform::headless::ShownMessageBoxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].caption, "Screen saver");
    EXPECT_EQ(boxes[0].text, "MPR.DLL not found: cannot change password.");
    EXPECT_EQ(boxes[1].caption, "Error");

    platform::headless::ClearShownMessageBoxes();
    EXPECT_TRUE(platform::headless::ShownMessageBoxes().empty());
}

TEST(Cursor, ShowCursorKeepsTheDisplayCounter) {
    headless::Install();
    const int start = ShowCursor(TRUE) - 1;
    EXPECT_EQ(ShowCursor(FALSE), start);
    EXPECT_EQ(ShowCursor(FALSE), start - 1);
    EXPECT_EQ(ShowCursor(FALSE), start - 2);
    // Each hide needs its own show.
    EXPECT_EQ(ShowCursor(TRUE), start - 1);
    EXPECT_EQ(ShowCursor(TRUE), start);
}

TEST(SystemQueries, MonitorsParametersAndWindows) {
    headless::Install({.monitors = 2});
    EXPECT_EQ(GetSystemMetrics(SM_CMONITORS), 2);
    EXPECT_EQ(GetSystemMetrics(0), 0);
    headless::Install({.monitors = 0});
    EXPECT_EQ(GetSystemMetrics(SM_CMONITORS), 1);

    EXPECT_EQ(SystemParametersInfoA(SPI_SETSCREENSAVERRUNNING, TRUE, nullptr, 0), TRUE);
    EXPECT_EQ(SystemParametersInfoA(SPI_SETSCREENSAVERRUNNING, FALSE, nullptr, 0), TRUE);
    EXPECT_EQ(SystemParametersInfoA(1234, 0, nullptr, 0), FALSE);

    EXPECT_EQ(IsWindowVisible(0x7fff0001), FALSE);
}

TEST(Shell, RefusesWhatItCannotOpen) {
    EXPECT_LE(ShellExecuteA(0, "open", nullptr, nullptr, nullptr, SW_SHOWNORMAL), 32);
    EXPECT_LE(ShellExecuteA(0, "open", "", nullptr, nullptr, SW_SHOWNORMAL), 32);
    EXPECT_LE(ShellExecuteA(0, "print", "https://example.org/", nullptr, nullptr, SW_SHOWNORMAL), 32);
}

}  // namespace
