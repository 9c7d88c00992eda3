// A window of another program for the end-to-end test of /c:<window>: it runs
// the saver's /c with its own window, and checks that the settings dialog
// belongs to that window and keeps it from input while open, then closes the
// dialog and checks that the window takes input again and the saver ended
// with exit code 0. Exit code 0 when all of that holds, 1 when not.
#include "HostWindow.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

// Handles this program's messages for up to `ms`, until `done` holds.
template <class Done>
bool PumpUntil(DWORD ms, Done done) {
    const DWORD until = GetTickCount() + ms;
    while (GetTickCount() < until) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
        if (done()) return true;
        Sleep(20);
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) return 2;
    const std::string saver = argv[1];
    const DWORD waitMs = DWORD(std::atoi(argv[2])) * 1000;

    const HWND window =
        MakeHostWindow("OwnerHost", "Owner host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 400, 300);
    if (window == nullptr) return 2;

    PROCESS_INFORMATION process{};
    if (!StartSaver(saver, "/c:" + std::to_string(reinterpret_cast<INT_PTR>(window)), &process)) return 2;

    HWND dialog = nullptr;
    const bool opened = PumpUntil(waitMs, [&] {
        dialog = FindWindowA(nullptr, "Tideway Islands Setup");
        return dialog != nullptr && IsWindowVisible(dialog);
    });
    const bool owned = opened && GetWindow(dialog, GW_OWNER) == window;
    const bool blocked = opened && !IsWindowEnabled(window);
    std::printf("dialog %s, %s, host window %s\n", opened ? "open" : "missing", owned ? "owned" : "not owned",
                blocked ? "disabled" : "enabled");
    if (opened) PostMessageA(dialog, WM_CLOSE, 0, 0);
    const bool ended =
        PumpUntil(10000, [&] { return WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0; });
    DWORD exitCode = 1;
    GetExitCodeProcess(process.hProcess, &exitCode);
    const bool freed = IsWindowEnabled(window);
    std::printf("saver %s, exit code %lu, host window %s\n", ended ? "ended" : "still running", exitCode,
                freed ? "enabled" : "disabled");
    if (!ended) TerminateProcess(process.hProcess, 1);
    return opened && owned && blocked && ended && exitCode == 0 && freed ? 0 : 1;
}
