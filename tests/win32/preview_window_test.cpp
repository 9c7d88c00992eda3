// The preview protocol: a child window of the host's window that lives as
// long as the host's window does.
#include "platform/forms/Bitmap.h"
#include "platform/win32/PreviewWindow.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <memory>
#include <thread>

namespace {

HWND MakeHost() {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "PreviewTestHost";
    RegisterClassA(&windowClass);
    return CreateWindowExA(0, "PreviewTestHost", "host", WS_POPUP | WS_VISIBLE, 10, 10, 200, 150, nullptr,
                           nullptr, GetModuleHandleA(nullptr), nullptr);
}

// Handles the test thread's messages for a while: the host's window lives
// on this thread.
void Pump(int milliseconds) {
    const DWORD until = GetTickCount() + DWORD(milliseconds);
    do {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
        Sleep(10);
    } while (GetTickCount() < until);
}

TEST(Win32PreviewWindow, AChildShowsThePictureOverTheHostUntilTheHostGoes) {
    const HWND host = MakeHost();
    ASSERT_NE(host, nullptr);
    const auto picture = platform::LoadBitmapResource("PREV_BITMAP");
    ASSERT_TRUE(picture);
    std::thread preview([&] { platform::win32::RunPreviewWindow(host, *picture); });

    HWND child = nullptr;
    for (int wait = 0; wait < 500 && child == nullptr; ++wait) {
        Pump(10);
        child = FindWindowExA(host, nullptr, "TidereachPreview", nullptr);
    }
    ASSERT_NE(child, nullptr);
    RECT area;
    GetClientRect(child, &area);
    EXPECT_EQ(area.right, 200);
    EXPECT_EQ(area.bottom, 150);
    EXPECT_NE(GetWindowLongPtrA(child, GWL_STYLE) & WS_CHILD, 0);

    // Unscaled at the top-left corner, black beyond it, once painted.
    auto shown = [child](POINT at) {
        HDC dc = GetDC(child);
        const COLORREF c = GetPixel(dc, at.x, at.y);
        ReleaseDC(child, dc);
        return std::uint32_t(GetRValue(c)) << 16 | GetGValue(c) << 8 | GetBValue(c);
    };
    const POINT corner{153, 115};  // the picture's last pixel
    for (int wait = 0; wait < 500 && shown(corner) != picture->At(corner.x, corner.y); ++wait) Pump(10);
    for (const POINT at : {POINT{0, 0}, POINT{77, 58}, corner})
        EXPECT_EQ(shown(at), picture->At(at.x, at.y)) << at.x << "," << at.y;
    EXPECT_EQ(shown(POINT{180, 130}), 0u);

    DestroyWindow(host);
    preview.join();  // returns once the host's window is gone
    EXPECT_FALSE(IsWindow(child));
}

TEST(Win32PreviewWindow, AHandleThatNamesNoWindowEndsAtOnce) {
    const HWND noWindow = reinterpret_cast<HWND>(INT_PTR(0x7FFF0001));
    ASSERT_FALSE(IsWindow(noWindow));
    // On a thread of its own, so that a preview waiting for ever fails the test instead of hanging it.
    auto ended = std::make_shared<std::promise<void>>();
    std::future<void> done = ended->get_future();
    std::thread([noWindow, ended] {
        platform::win32::RunPreviewWindow(noWindow, TBitmap(2, 2));
        ended->set_value();
    }).detach();
    ASSERT_EQ(done.wait_for(std::chrono::seconds(20)), std::future_status::ready)
        << "the preview waits for a window that does not exist";
    EXPECT_EQ(FindWindowA("TidereachPreview", nullptr), nullptr) << "a preview window was made for no host";
}

}  // namespace
