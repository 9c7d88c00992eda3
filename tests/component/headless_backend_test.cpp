// The headless back end: screens, windows, scripted input and read-back.
#include "platform/backends/headless/Headless.h"
#include "platform/seam/Backend.h"
#include "platform/winapi/User.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <thread>

namespace {

namespace headless = platform::headless;
using platform::CurrentBackend;
using platform::ScreenMode;

TEST(HeadlessBackend, OffersTheDesktopModeAndTheFixedModesOnce) {
    headless::Install({.desktop = {1024, 768, 32}});
    const auto modes = CurrentBackend().OfferedModes();
    EXPECT_EQ(modes.size(), 12u);
    EXPECT_EQ(std::count(modes.begin(), modes.end(), ScreenMode{1024, 768, 32}), 1);

    headless::Install({.desktop = {1920, 1080, 24}, .monitors = 2, .gamma = false});
    const auto wide = CurrentBackend().OfferedModes();
    EXPECT_EQ(wide.size(), 13u);
    EXPECT_EQ(wide.front(), (ScreenMode{1920, 1080, 24}));
    EXPECT_NE(std::find(wide.begin(), wide.end(), ScreenMode{1152, 864, 16}), wide.end());
    EXPECT_EQ(CurrentBackend().MonitorCount(), 2);
    EXPECT_FALSE(CurrentBackend().SupportsGamma());

    const std::vector<ScreenMode> few{{800, 600, 16}, {1024, 768, 32}};
    headless::Install({.offeredModes = few});
    EXPECT_EQ(CurrentBackend().OfferedModes(), few);
}

TEST(HeadlessBackend, IsInstalledWhenNothingElseIs) {
    platform::InstallBackend(nullptr);
    EXPECT_EQ(CurrentBackend().DesktopMode(), (ScreenMode{1024, 768, 32}));
}

TEST(HeadlessBackend, WindowsAreNumberedAndKeepTheirState) {
    headless::Install();
    auto& backend = CurrentBackend();
    const HWND first = backend.CreateWindow("one");
    const HWND second = backend.CreateWindow("two");
    EXPECT_NE(first, 0u);
    EXPECT_NE(first, second);
    EXPECT_FALSE(backend.IsWindowVisible(first));
    backend.ShowWindow(first, true);
    EXPECT_TRUE(backend.IsWindowVisible(first));
    backend.EnterFullScreen(second);
    EXPECT_EQ(headless::FullScreenWindow(), second);
    backend.DestroyWindow(second);
    EXPECT_FALSE(backend.WindowExists(second));
    EXPECT_FALSE(backend.IsWindowVisible(second));
    EXPECT_EQ(headless::FullScreenWindow(), 0u);
    backend.ShowCursor(false);
    EXPECT_FALSE(headless::CursorVisible());

    const TBitmap picture(3, 2);
    EXPECT_TRUE(backend.PaintBitmap(first, 0, 0, picture));
    EXPECT_EQ(headless::LastPaintedPicture(first), picture);
    EXPECT_FALSE(backend.PaintBitmap(second, 0, 0, picture));
    EXPECT_FALSE(headless::LastPaintedPicture(second).has_value());
    EXPECT_EQ(backend.ShowMessageBox(first, "text", "Screen saver", MB_OK), IDOK);
}

TEST(HeadlessBackend, ScriptedInputGoesToTheFirstWindowOrTheOneNamed) {
    headless::Install();
    auto& backend = CurrentBackend();
    const HWND first = backend.CreateWindow("first");
    const HWND other = backend.CreateWindow("other");
    headless::PushKeyDown(WORD(0x1B), 1);
    headless::PushMouseMove(5, 6, other);
    headless::PushCharacter('+');
    platform::WindowEvent event;
    ASSERT_TRUE(backend.PollEvent(event));
    EXPECT_EQ(event.kind, platform::EventKind::KeyDown);
    EXPECT_EQ(event.window, first);
    EXPECT_EQ(event.virtualKey, WORD(0x1B));
    EXPECT_EQ(event.shift, 1u);
    ASSERT_TRUE(backend.PollEvent(event));
    EXPECT_EQ(event.window, other);
    EXPECT_EQ(event.x, 5);
    EXPECT_EQ(event.y, 6);
    ASSERT_TRUE(backend.PollEvent(event));
    EXPECT_EQ(event.character, '+');
    EXPECT_FALSE(backend.PollEvent(event));
}

TEST(HeadlessBackend, WaitingEndsOnWakeOnInputOrWhenTheTimeIsUp) {
    headless::Install();
    auto& backend = CurrentBackend();
    using Clock = std::chrono::steady_clock;

    auto start = Clock::now();
    backend.WaitEvent(20);
    EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(15));

    std::thread waker([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        backend.Wake();
    });
    start = Clock::now();
    backend.WaitEvent(60000);
    waker.join();
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(30));

    headless::PushClose();
    start = Clock::now();
    backend.WaitEvent(60000);
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(30));
}

}  // namespace
