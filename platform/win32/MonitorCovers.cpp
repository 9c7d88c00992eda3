#include "platform/win32/MonitorCovers.h"

#include "platform/win32/WindowClass.h"

#include <windowsx.h>

namespace platform::win32 {
namespace {

constexpr char kCoverClass[] = "TidereachCover";

LRESULT CALLBACK CoverProc(HWND cover, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_MOUSEMOVE:
        // In the owner's coordinates, as if the owner reached over every monitor.
        if (const HWND owner = GetWindow(cover, GW_OWNER)) {
            POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            MapWindowPoints(cover, owner, &at, 1);
            SendMessageA(owner, WM_MOUSEMOVE, wParam, MAKELPARAM(at.x, at.y));
        }
        return 0;
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    default:
        return DefWindowProcA(cover, message, wParam, lParam);
    }
}

bool IsCover(HWND window) {
    char name[sizeof kCoverClass + 1] = {};
    GetClassNameA(window, name, sizeof name);
    return lstrcmpA(name, kCoverClass) == 0;
}

struct CoverSearch {
    HWND owner;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectCover(HWND window, LPARAM context) {
    auto& search = *reinterpret_cast<CoverSearch*>(context);
    if (GetWindow(window, GW_OWNER) == search.owner && IsCover(window)) search.found.push_back(window);
    return TRUE;
}

struct MonitorSearch {
    HMONITOR except;
    std::vector<RECT> found;
};

BOOL CALLBACK CollectMonitor(HMONITOR monitor, HDC, RECT* area, LPARAM context) {
    auto& search = *reinterpret_cast<MonitorSearch*>(context);
    if (monitor != search.except) search.found.push_back(*area);
    return TRUE;
}

}  // namespace

std::vector<RECT> OtherMonitors(HWND window) {
    MonitorSearch search{MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), {}};
    EnumDisplayMonitors(nullptr, nullptr, CollectMonitor, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void CoverMonitors(HWND owner, std::span<const RECT> monitors) {
    RegisterWindowClass(kCoverClass, CoverProc, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    for (const RECT& area : monitors) {
        const HWND cover =
            CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, kCoverClass, "", WS_POPUP,
                            area.left, area.top, area.right - area.left, area.bottom - area.top, owner,
                            nullptr, GetModuleHandleA(nullptr), nullptr);
        // A monitor left uncovered shows the desktop; the saver still runs.
        if (cover != nullptr) ShowWindow(cover, SW_SHOWNOACTIVATE);
    }
}

std::vector<HWND> CoversOf(HWND owner) {
    CoverSearch search{owner, {}};
    EnumThreadWindows(GetCurrentThreadId(), CollectCover, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void RemoveCovers(HWND owner) {
    for (const HWND cover : CoversOf(owner)) DestroyWindow(cover);
}

}  // namespace platform::win32
