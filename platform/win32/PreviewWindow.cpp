#include "platform/win32/PreviewWindow.h"

#include "platform/win32/WindowClass.h"

namespace platform::win32 {
namespace {

constexpr char kPreviewClass[] = "TidereachPreview";

LRESULT CALLBACK PreviewProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_NCCREATE: {
        const auto* creation = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
        break;
    }
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        RECT client;
        GetClientRect(window, &client);
        FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        if (const auto* picture = reinterpret_cast<const TBitmap*>(GetWindowLongPtrA(window, GWLP_USERDATA)))
            CanvasDraw(dc, 0, 0, *picture);
        EndPaint(window, &paint);
        return 0;
    }
    case WM_DESTROY:
        // The host destroys its window, and ours with it.
        PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

void RunPreviewWindow(HWND host, const TBitmap& picture) {
    if (!IsWindow(host)) return;
    RegisterWindowClass(kPreviewClass, PreviewProc);
    RECT area;
    GetClientRect(host, &area);
    const HWND window =
        CreateWindowExA(0, kPreviewClass, "", WS_CHILD | WS_VISIBLE, 0, 0, area.right, area.bottom, host,
                        nullptr, GetModuleHandleA(nullptr), const_cast<TBitmap*>(&picture));
    if (window == nullptr) return;
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

}  // namespace platform::win32
