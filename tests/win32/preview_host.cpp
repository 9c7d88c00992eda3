// A window of another program for the end-to-end preview test: a 200 x 150
// window at (100, 100) of the screen that runs the saver's /p into itself and
// keeps its window for the given seconds. It reports whether the saver made a
// visible child window over the whole of it, then closes its window and
// reports whether the saver ended within five seconds with exit code 0. Exit
// code 0 when both hold, 1 when not.
#include "HostWindow.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char** argv) {
    if (argc < 3) return 2;
    const std::string saver = argv[1];
    const DWORD shownMs = DWORD(std::atoi(argv[2])) * 1000;

    const HWND window =
        MakeHostWindow("PreviewHost", "Preview host", WS_POPUP | WS_VISIBLE, 100, 100, 200, 150);
    if (window == nullptr) return 2;

    PROCESS_INFORMATION process{};
    if (!StartSaver(saver, "/p " + std::to_string(reinterpret_cast<INT_PTR>(window)), &process)) return 2;

    const DWORD until = GetTickCount() + shownMs;
    while (GetTickCount() < until) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
        Sleep(20);
    }
    const HWND child = FindWindowExA(window, nullptr, "TidereachPreview", nullptr);
    RECT covered{};
    if (child != nullptr) GetClientRect(child, &covered);
    const bool shown =
        child != nullptr && IsWindowVisible(child) && covered.right == 200 && covered.bottom == 150;
    std::printf("child window %s\n", shown ? "covers the host" : "missing");
    DestroyWindow(window);
    const bool ended = WaitForSingleObject(process.hProcess, 5000) == WAIT_OBJECT_0;
    DWORD exitCode = 1;
    GetExitCodeProcess(process.hProcess, &exitCode);
    std::printf("saver %s, exit code %lu\n", ended ? "ended" : "still running", exitCode);
    if (!ended) TerminateProcess(process.hProcess, 1);
    return shown && ended && exitCode == 0 ? 0 : 1;
}
