// What the test programs that host the saver share: a plain grey window of
// their own, and starting the saver with a command line.
#pragma once

#include <windows.h>

#include <string>

inline HWND MakeHostWindow(const char* className, const char* title, DWORD style, int x, int y, int width,
                           int height) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
    windowClass.lpszClassName = className;
    RegisterClassA(&windowClass);
    return CreateWindowExA(0, className, title, style, x, y, width, height, nullptr, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
}

// `saver` with `switches`; false when it cannot start.
inline bool StartSaver(const std::string& saver, const std::string& switches, PROCESS_INFORMATION* process) {
    std::string command = "\"" + saver + "\" " + switches;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    return CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          process) != FALSE;
}
