// Tells the end-to-end tests where to click: control_at <window title>
// <text or class> prints the screen position of the centre of the first
// control of that visible window whose text (without its Alt+letter mark)
// or window class is the one given. Exit code 1 when there is none.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>

namespace {

struct Search {
    std::string wanted;
    HWND found = nullptr;
};

BOOL CALLBACK Look(HWND control, LPARAM context) {
    auto& search = *reinterpret_cast<Search*>(context);
    char text[256] = {};
    char className[64] = {};
    GetWindowTextA(control, text, sizeof text);
    GetClassNameA(control, className, sizeof className);
    std::string shown = text;
    shown.erase(std::remove(shown.begin(), shown.end(), '&'), shown.end());
    if (!IsWindowVisible(control) || (shown != search.wanted && search.wanted != className)) return TRUE;
    search.found = control;
    return FALSE;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) return 2;
    const HWND window = FindWindowA(nullptr, argv[1]);
    if (window == nullptr) return 1;
    Search search{argv[2]};
    EnumChildWindows(window, Look, reinterpret_cast<LPARAM>(&search));
    if (search.found == nullptr) return 1;
    RECT box{};
    GetWindowRect(search.found, &box);
    std::printf("%ld %ld\n", (box.left + box.right) / 2, (box.top + box.bottom) / 2);
    return 0;
}
