// The preview protocol: a child window of the host's window that lives as
// long as the host's window does.
#include "platform/forms/Bitmap.h"
#include "platform/win32/PreviewWindow.h"

#include <gtest/gtest.h>

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

    // Unscaled at the top-left corner, black beyond it.
    Pump(300);
    HDC dc = GetDC(child);
    auto rgb = [](COLORREF c) {
        return std::uint32_t(GetRValue(c)) << 16 | GetGValue(c) << 8 | GetBValue(c);
    };
    for (const POINT at : {POINT{0, 0}, POINT{77, 58}, POINT{153, 115}})
        EXPECT_EQ(rgb(GetPixel(dc, at.x, at.y)), picture->At(at.x, at.y)) << at.x << "," << at.y;
    EXPECT_EQ(rgb(GetPixel(dc, 180, 130)), 0u);
    ReleaseDC(child, dc);

    DestroyWindow(host);
    preview.join();  // returns once the host's window is gone
    EXPECT_FALSE(IsWindow(child));
}

TEST(Win32PreviewWindow, AHandleThatNamesNoWindowEndsAtOnce) {
    platform::win32::RunPreviewWindow(reinterpret_cast<HWND>(INT_PTR(0x7FFF0001)), TBitmap(2, 2));
}

}  // namespace
