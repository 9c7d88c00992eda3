// A DLL under the name of a system DLL, planted beside a copy of the program
// for the test that the program loads nothing from its own folder. Loaded,
// it leaves a mark beside itself: "ddraw.dll.loaded" for "ddraw.dll".
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
    if (reason != DLL_PROCESS_ATTACH) return TRUE;
    char path[MAX_PATH + 8] = {};
    if (GetModuleFileNameA(self, path, MAX_PATH) == 0) return TRUE;
    lstrcatA(path, ".loaded");
    const HANDLE mark =
        CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (mark != INVALID_HANDLE_VALUE) CloseHandle(mark);
    return TRUE;
}
