// Ends another program's window from outside, as Windows and its users do,
// for the end-to-end tests: end_saver <caption> <how> finds the visible
// window with that caption and
//   close       posts WM_CLOSE (Task Manager's End task, taskkill without /f);
//   endsession  sends WM_QUERYENDSESSION, then WM_ENDSESSION (log off);
//   deactivate  brings a window of its own to the foreground (another
//               program taking the screen), and keeps it there until the
//               other window is gone.
// Exit code 0 when it was done, 1 when no such window came within 30 s.
#include <windows.h>

#include <cstring>

namespace {

HWND FindShown(const char* caption) {
    const DWORD until = GetTickCount() + 30000;
    for (;;) {
        HWND window = FindWindowA(nullptr, caption);
        if (window != nullptr && IsWindowVisible(window)) return window;
        if (GetTickCount() > until) return nullptr;
        Sleep(50);
    }
}

// A window of this program in the foreground, until `other` is gone.
void TakeForeground(HWND other) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "EndSaverForeground";
    RegisterClassA(&windowClass);
    HWND own = CreateWindowExA(0, windowClass.lpszClassName, "Another program", WS_OVERLAPPEDWINDOW, 0, 0,
                               200, 100, nullptr, nullptr, windowClass.hInstance, nullptr);
    ShowWindow(own, SW_SHOWNORMAL);
    SetForegroundWindow(own);
    const DWORD until = GetTickCount() + 30000;
    while (IsWindow(other) && IsWindowVisible(other) && GetTickCount() < until) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
        Sleep(20);
    }
    DestroyWindow(own);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) return 2;
    const HWND window = FindShown(argv[1]);
    if (window == nullptr) return 1;
    if (std::strcmp(argv[2], "close") == 0) {
        PostMessageA(window, WM_CLOSE, 0, 0);
    } else if (std::strcmp(argv[2], "endsession") == 0) {
        DWORD_PTR answer = 0;
        SendMessageTimeoutA(window, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_NORMAL, 10000, &answer);
        SendMessageTimeoutA(window, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, SMTO_NORMAL, 10000, &answer);
    } else if (std::strcmp(argv[2], "deactivate") == 0) {
        TakeForeground(window);
    } else {
        return 2;
    }
    return 0;
}
