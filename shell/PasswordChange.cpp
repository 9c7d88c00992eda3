#include "shell/PasswordChange.h"

#include "platform/winapi/Kernel.h"
#include "platform/winapi/User.h"

namespace {
using PwdChangePassword = DWORD(WINAPI*)(LPCSTR provider, HWND parent, DWORD reserved, LPVOID reserved2);
}

void RunPasswordChange(HWND parent) {
    HMODULE library = LoadLibraryExA("MPR.DLL", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (library == nullptr) {
        MessageBoxA(parent, "MPR.DLL not found: cannot change password.", "Screen saver", MB_OK);
        return;
    }
    auto change = reinterpret_cast<PwdChangePassword>(GetProcAddress(library, "PwdChangePasswordA"));
    if (change == nullptr) {
        FreeLibrary(library);
        MessageBoxA(parent, "PwdChangeProc not found: cannot change password", "Screen saver", MB_OK);
        return;
    }
    change("SCRSAVE", parent, 0, nullptr);
    FreeLibrary(library);
}
