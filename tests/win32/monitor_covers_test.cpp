// The covers of the monitors a full-screen form leaves: one black top-most
// window for each monitor that never takes the keyboard, passes the pointer's
// moves on to the form, and goes when the form hides.
#include "platform/forms/Forms.h"
#include "platform/win32/MonitorCovers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using platform::win32::CoverMonitors;
using platform::win32::CoversOf;
using platform::win32::OtherMonitors;
using platform::win32::RemoveCovers;

namespace {

BOOL CALLBACK CountMonitor(HMONITOR, HDC, RECT*, LPARAM count) {
    ++*reinterpret_cast<int*>(count);
    return TRUE;
}

bool SameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

class Win32MonitorCovers : public ::testing::Test {
protected:
    TApplication application;
    TForm* form = application.CreateForm<TForm>();
};

TEST_F(Win32MonitorCovers, EachMonitorGetsABlackTopMostCoverUntilTheyAreRemoved) {
    // Three monitors around the form's: left of it, right of it, below it.
    const std::vector<RECT> monitors{{-1024, 0, 0, 768}, {1280, 0, 2560, 1024}, {0, 1024, 800, 1624}};
    const HWND owner = form->Handle();
    CoverMonitors(owner, monitors);
    const std::vector<HWND> covers = CoversOf(owner);
    ASSERT_EQ(covers.size(), monitors.size());
    for (const HWND cover : covers) {
        RECT area{};
        GetWindowRect(cover, &area);
        EXPECT_TRUE(
            std::any_of(monitors.begin(), monitors.end(), [&](const RECT& m) { return SameRect(m, area); }))
            << area.left << "," << area.top << " " << area.right << "," << area.bottom;
        EXPECT_TRUE(IsWindowVisible(cover));
        EXPECT_NE(GetWindowLongPtrA(cover, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
        EXPECT_NE(GetWindowLongPtrA(cover, GWL_EXSTYLE) & WS_EX_NOACTIVATE, 0);
        EXPECT_EQ(reinterpret_cast<HGDIOBJ>(GetClassLongPtrA(cover, GCLP_HBRBACKGROUND)),
                  GetStockObject(BLACK_BRUSH));
        EXPECT_NE(GetForegroundWindow(), cover);
    }
    RemoveCovers(owner);
    EXPECT_TRUE(CoversOf(owner).empty());
    for (const HWND cover : covers) EXPECT_FALSE(IsWindow(cover));
}

TEST_F(Win32MonitorCovers, AMoveOverACoverIsAMoveOverTheForm) {
    std::vector<std::string> moves;
    form->OnMouseMove = [&](TObject*, TShiftState, int x, int y) {
        moves.push_back(std::to_string(x) + "," + std::to_string(y));
    };
    form->Show();
    const RECT right{GetSystemMetrics(SM_CXSCREEN), 0, GetSystemMetrics(SM_CXSCREEN) + 640, 480};
    CoverMonitors(form->Handle(), std::vector<RECT>{right});
    const std::vector<HWND> covers = CoversOf(form->Handle());
    ASSERT_EQ(covers.size(), 1u);
    SendMessageA(covers[0], WM_MOUSEMOVE, 0, MAKELPARAM(5, 7));
    EXPECT_EQ(moves, std::vector<std::string>{std::to_string(right.left + 5) + ",7"});
    form->Hide();
    EXPECT_TRUE(CoversOf(form->Handle()).empty()) << "hiding the form takes its covers away";
}

TEST_F(Win32MonitorCovers, EveryMonitorButTheFormsIsCoveredWhileItShows) {
    int monitors = 0;
    EnumDisplayMonitors(nullptr, nullptr, CountMonitor, reinterpret_cast<LPARAM>(&monitors));
    const HWND owner = form->Handle();
    MONITORINFO own{};
    own.cbSize = sizeof own;
    GetMonitorInfoA(MonitorFromWindow(owner, MONITOR_DEFAULTTOPRIMARY), &own);
    const std::vector<RECT> others = OtherMonitors(owner);
    EXPECT_EQ(int(others.size()), monitors - 1);
    for (const RECT& area : others) EXPECT_FALSE(SameRect(area, own.rcMonitor));

    form->Show();
    EXPECT_EQ(CoversOf(owner).size(), others.size());
    form->Hide();
    EXPECT_TRUE(CoversOf(owner).empty());
}

}  // namespace
