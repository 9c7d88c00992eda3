// A DirectDraw whose display object can never be made, for the end-to-end
// test of a display that offers none: put in the place of the system's and
// preferred over Wine's own with WINEDLLOVERRIDES="ddraw=n".
#include <windows.h>
// After windows.h, which it needs.
#include <ddraw.h>

extern "C" __declspec(dllexport) HRESULT WINAPI DirectDrawCreate(GUID*, IDirectDraw** directDraw, IUnknown*) {
    if (directDraw != nullptr) *directDraw = nullptr;
    return DDERR_NODIRECTDRAWHW;
}
