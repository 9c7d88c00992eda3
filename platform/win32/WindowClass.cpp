#include "platform/win32/WindowClass.h"

#include <stdexcept>
#include <string>

namespace platform::win32 {

void RegisterWindowClass(const char* name, WNDPROC procedure, HBRUSH background) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    windowClass.hbrBackground = background;
    windowClass.lpszClassName = name;
    if (RegisterClassA(&windowClass) == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        throw std::runtime_error(std::string("Cannot register the window class ") + name);
}

}  // namespace platform::win32
