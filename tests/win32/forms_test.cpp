// The form framework on the Win32 API: the scene window, its events with the
// Windows codes, the message loop with its idle handler and posted work.
#include "platform/forms/Forms.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

namespace {

class Win32Forms : public ::testing::Test {
protected:
    // Sends `message` through the window procedure, as input arrives.
    static void Deliver(TForm& form, UINT message, WPARAM wParam, LPARAM lParam = 0) {
        SendMessageA(form.Handle(), message, wParam, lParam);
    }

    TApplication application;
};

TEST_F(Win32Forms, TheWindowIsATopMostPopupOverTheWholeScreen) {
    TForm* form = application.CreateForm<TForm>();
    form->Caption = "Corvane";
    const HWND window = form->Handle();
    ASSERT_TRUE(IsWindow(window));
    EXPECT_FALSE(IsWindowVisible(window)) << "shown only when the loop starts";
    EXPECT_NE(GetWindowLongPtrA(window, GWL_STYLE) & WS_POPUP, 0);
    EXPECT_NE(GetWindowLongPtrA(window, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    RECT area;
    GetWindowRect(window, &area);
    EXPECT_EQ(area.right - area.left, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(area.bottom - area.top, GetSystemMetrics(SM_CYSCREEN));
    char caption[32] = {};
    GetWindowTextA(window, caption, sizeof caption);
    EXPECT_STREQ(caption, "Corvane");

    form->SetBorderStyle(TBorderStyle::bsSizeable);
    EXPECT_NE(GetWindowLongPtrA(window, GWL_STYLE) & WS_THICKFRAME, 0);
}

TEST_F(Win32Forms, InputReachesTheEventsWithItsWindowsCodes) {
    TForm* form = application.CreateForm<TForm>();
    std::vector<std::string> seen;
    form->OnKeyDown = [&](TObject*, WORD& key, TShiftState) { seen.push_back("key " + std::to_string(key)); };
    form->OnKeyPress = [&](TObject*, char& key) { seen.push_back(std::string("char ") + key); };
    form->OnMouseMove = [&](TObject*, TShiftState, int x, int y) {
        seen.push_back("move " + std::to_string(x) + "," + std::to_string(y));
    };

    Deliver(*form, WM_KEYDOWN, VK_ESCAPE);
    EXPECT_TRUE(seen.empty()) << "a hidden form gets no input";

    form->Show();
    Deliver(*form, WM_KEYDOWN, VK_LEFT);
    Deliver(*form, WM_SYSKEYDOWN, VK_MENU);
    Deliver(*form, WM_CHAR, '+');
    Deliver(*form, WM_MOUSEMOVE, 0, MAKELPARAM(640, 7));
    EXPECT_EQ(seen, (std::vector<std::string>{"key 37", "key 18", "char +", "move 640,7"}));
    form->Hide();
}

TEST_F(Win32Forms, EndingsFromOutsideReachTheirEventOnly) {
    TForm* form = application.CreateForm<TForm>();
    int endings = 0;
    form->OnEndFromOutside = [&](TObject*) { ++endings; };
    Deliver(*form, WM_ACTIVATEAPP, FALSE);
    EXPECT_EQ(endings, 0) << "a form not shown yet has not taken the screen";

    form->Show();
    Deliver(*form, WM_ACTIVATEAPP, TRUE);
    Deliver(*form, WM_ENDSESSION, FALSE);  // the session goes on after all
    EXPECT_EQ(endings, 0);
    Deliver(*form, WM_CLOSE, 0);
    Deliver(*form, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
    Deliver(*form, WM_ACTIVATEAPP, FALSE);
    EXPECT_EQ(endings, 3);
    EXPECT_FALSE(application.Terminated()) << "the event decides how the form ends";
    form->Hide();
}

TEST_F(Win32Forms, WithoutAnEventClosingOrTheSessionsEndClosesTheForm) {
    TForm* form = application.CreateForm<TForm>();
    form->Show();
    Deliver(*form, WM_ACTIVATEAPP, FALSE);
    EXPECT_TRUE(form->Visible());
    Deliver(*form, WM_ENDSESSION, TRUE);
    EXPECT_FALSE(form->Visible());
    EXPECT_TRUE(application.Terminated());
}

TEST_F(Win32Forms, TheLoopRunsPostedWorkBeforeIdleAndEndsWhenTheMainFormCloses) {
    TForm* form = application.CreateForm<TForm>();
    ASSERT_EQ(application.MainForm, form);
    std::string order;
    int idleTurns = 0;
    application.Post([&] { order += "posted "; });
    application.OnIdle = [&](TObject*, bool& done) {
        done = false;
        if (++idleTurns == 1) order += "idle ";
        if (idleTurns == 3) PostMessageA(form->Handle(), WM_CLOSE, 0, 0);
    };
    application.Run();
    EXPECT_EQ(order, "posted idle ");
    EXPECT_GE(idleTurns, 3);
    EXPECT_TRUE(application.Terminated());
    EXPECT_FALSE(form->Visible());
}

TEST_F(Win32Forms, WorkPostedFromAnotherThreadWakesTheWaitingLoop) {
    TForm* form = application.CreateForm<TForm>();
    application.OnIdle = [&](TObject*, bool& done) { done = true; };
    DWORD threadId = 0;
    HANDLE poster = CreateThread(
        nullptr, 0,
        [](LPVOID context) -> DWORD {
            Sleep(100);
            static_cast<TApplication*>(context)->Post([] { Application->MainForm->Close(); });
            return 0;
        },
        &application, 0, &threadId);
    ASSERT_NE(poster, nullptr);
    const DWORD started = GetTickCount();
    application.Run();
    WaitForSingleObject(poster, INFINITE);
    CloseHandle(poster);
    EXPECT_TRUE(application.Terminated());
    EXPECT_FALSE(form->Visible());
    EXPECT_LT(GetTickCount() - started, 5000u);
}

// The thread's processor time in seconds.
double ThreadCpuSeconds() {
    FILETIME created, exited, kernel, user;
    GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user);
    auto seconds = [](FILETIME time) {
        return double((ULONGLONG(time.dwHighDateTime) << 32) | time.dwLowDateTime) / 1e7;
    };
    return seconds(kernel) + seconds(user);
}

TEST_F(Win32Forms, FramesOfTheIdleHandlerKeepToTheDisplaysRefreshAndTheThreadSleepsBetween) {
    DEVMODEA mode{};
    mode.dmSize = sizeof mode;
    ASSERT_TRUE(EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &mode));
    const double refreshHz = mode.dmDisplayFrequency > 1 ? mode.dmDisplayFrequency : 60;

    TForm* form = application.CreateForm<TForm>();
    constexpr int kFrames = 31;
    int frames = 0;
    std::chrono::steady_clock::time_point first;
    std::chrono::steady_clock::time_point last;
    application.OnIdle = [&](TObject*, bool& done) {
        done = false;
        last = std::chrono::steady_clock::now();
        if (++frames == 1) first = last;
        if (frames == kFrames) PostMessageA(form->Handle(), WM_CLOSE, 0, 0);
    };
    const double cpuBefore = ThreadCpuSeconds();
    application.Run();
    const double cpu = ThreadCpuSeconds() - cpuBefore;

    ASSERT_EQ(frames, kFrames);
    // The first two frames come at once, each later one a refresh after the
    // one before; a loop drawing as fast as it can takes a few milliseconds.
    const double seconds = std::chrono::duration<double>(last - first).count();
    EXPECT_GE(seconds, (kFrames - 3) / refreshHz) << "at " << refreshHz << " Hz";
    EXPECT_LT(cpu, seconds / 2) << "the loop does not sleep between frames";
}

}  // namespace
