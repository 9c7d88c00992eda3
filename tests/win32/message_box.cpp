// Answers another program's message box for the end-to-end tests:
// message_box <caption> <seconds> waits that long for a visible message box
// whose caption starts with <caption>, prints its text on one line and
// presses its OK button. Exit code 0 when one was answered, 1 when none came.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

struct Search {
    const char* captionStart;
    HWND found;
};

BOOL CALLBACK TakeMessageBox(HWND window, LPARAM context) {
    auto& search = *reinterpret_cast<Search*>(context);
    char className[16] = {};
    char caption[256] = {};
    GetClassNameA(window, className, sizeof className);
    GetWindowTextA(window, caption, sizeof caption);
    if (IsWindowVisible(window) && std::strcmp(className, "#32770") == 0 &&
        std::strncmp(caption, search.captionStart, std::strlen(search.captionStart)) == 0 &&
        GetDlgItem(window, IDOK) != nullptr) {
        search.found = window;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) return 2;
    const DWORD until = GetTickCount() + DWORD(std::atoi(argv[2])) * 1000;
    Search search{argv[1], nullptr};
    while (search.found == nullptr) {
        if (GetTickCount() > until) return 1;
        EnumWindows(TakeMessageBox, reinterpret_cast<LPARAM>(&search));
        if (search.found == nullptr) Sleep(50);
    }
    // A message box's text is the static control with the id 0xFFFF.
    char text[1024] = {};
    GetDlgItemTextA(search.found, 0xFFFF, text, sizeof text);
    std::printf("%s\n", text);
    std::fflush(stdout);
    PostMessageA(search.found, WM_COMMAND, IDOK, 0);
    return 0;
}
