// GDI's calls on the platform's device contexts.
#include "platform/winapi/Gdi.h"

#include "platform/gdi/Context.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Figures.h"
#include "platform/gdi/Font.h"
#include "platform/gdi/Objects.h"
#include "platform/gdi/PixelAccess.h"
#include "platform/seam/Backend.h"

#include <initializer_list>
#include <mutex>
#include <span>
#include <unordered_set>

namespace {

using namespace platform::gdi;

// Window contexts not yet destroyed: ReleaseDC accepts only these.
struct WindowContexts {
    std::mutex lock;
    std::unordered_set<HDC> open;
};

// Never destroyed, so contexts released during exit still find it.
WindowContexts& OpenWindowContexts() {
    static auto* contexts = new WindowContexts;
    return *contexts;
}

bool HasPixels(HDC dc) {
    return dc != nullptr && dc->kind == DeviceContext::Kind::Surface && IsDrawable(dc->target);
}

bool InCoordinateSpace(std::initializer_list<LONG> values) {
    for (LONG v : values)
        if (v < -kCoordinateLimit || v > kCoordinateLimit) return false;
    return true;
}

FigurePaint PaintOf(const DeviceContext& dc) {
    const int bpp = dc.target.bitsPerPixel;
    return {platform::PackColor(dc.pen->color, bpp), platform::PackColor(dc.brush->color, bpp)};
}

}  // namespace

namespace platform {

HDC CreateSurfaceDC(const PixelTarget& target) {
    auto* dc = new DeviceContext;
    dc->target = target;
    SelectStock(*dc);
    return dc;
}

HDC CreateWindowDC(HWND window) {
    auto* dc = new DeviceContext;
    dc->kind = DeviceContext::Kind::Window;
    dc->window = window;
    SelectStock(*dc);
    WindowContexts& contexts = OpenWindowContexts();
    std::lock_guard guard(contexts.lock);
    contexts.open.insert(dc);
    return dc;
}

void DestroyDC(HDC dc) {
    if (dc == nullptr) return;
    if (dc->kind == DeviceContext::Kind::Window) {
        WindowContexts& contexts = OpenWindowContexts();
        std::lock_guard guard(contexts.lock);
        contexts.open.erase(dc);
    }
    DeselectAll(*dc);
    delete dc;
}

}  // namespace platform

int SetBkMode(HDC dc, int mode) {
    if (dc == nullptr || (mode != TRANSPARENT && mode != OPAQUE)) return 0;
    const int previous = dc->bkMode;
    dc->bkMode = mode;
    return previous;
}

COLORREF SetTextColor(HDC dc, COLORREF color) {
    if (dc == nullptr) return CLR_INVALID;
    const COLORREF previous = dc->textColor;
    dc->textColor = color & 0x00FFFFFF;
    return previous;
}

BOOL TextOutA(HDC dc, int x, int y, const char* text, int length) {
    if (!HasPixels(dc) || length < 0 || (text == nullptr && length > 0)) return FALSE;
    const Font& font = DefaultFont();
    if (!font.Loaded()) return FALSE;
    const std::string_view line(text, std::size_t(length));
    const std::optional<COLORREF> background =
        dc->bkMode == OPAQUE ? std::optional<COLORREF>(dc->bkColor) : std::nullopt;
    DrawText(dc->target, font, x, y, line, dc->textColor, background);
    return TRUE;
}

COLORREF GetPixel(HDC dc, int x, int y) {
    if (!HasPixels(dc) || !Contains(dc->target, x, y)) return CLR_INVALID;
    return platform::UnpackColor(ReadPixel(dc->target, x, y), dc->target.bitsPerPixel);
}

COLORREF SetPixel(HDC dc, int x, int y, COLORREF color) {
    if (!HasPixels(dc) || !Contains(dc->target, x, y)) return CLR_INVALID;
    const std::uint32_t pixel = platform::PackColor(color, dc->target.bitsPerPixel);
    WritePixel(dc->target, x, y, pixel);
    return platform::UnpackColor(pixel, dc->target.bitsPerPixel);
}

HPEN CreatePen(int style, int width, COLORREF color) {
    // Figures are drawn with one-pixel pens only; a wider or styled pen is
    // refused rather than drawn wrongly.
    if (style != PS_SOLID || width < 0 || width > 1) return nullptr;
    return CreateObject(GdiObject::Kind::Pen, color);
}

HBRUSH CreateSolidBrush(COLORREF color) { return CreateObject(GdiObject::Kind::Brush, color); }

HGDIOBJ SelectObject(HDC dc, HGDIOBJ object) { return dc == nullptr ? nullptr : Select(*dc, object); }

BOOL DeleteObject(HGDIOBJ object) { return platform::gdi::DeleteObject(object) ? TRUE : FALSE; }

BOOL Ellipse(HDC dc, int left, int top, int right, int bottom) {
    if (!HasPixels(dc) || !InCoordinateSpace({left, top, right, bottom})) return FALSE;
    DrawEllipse(dc->target, RECT{left, top, right, bottom}, PaintOf(*dc));
    return TRUE;
}

BOOL Rectangle(HDC dc, int left, int top, int right, int bottom) {
    if (!HasPixels(dc) || !InCoordinateSpace({left, top, right, bottom})) return FALSE;
    DrawRectangle(dc->target, RECT{left, top, right, bottom}, PaintOf(*dc));
    return TRUE;
}

BOOL Polygon(HDC dc, const POINT* points, int count) {
    if (!HasPixels(dc) || points == nullptr || count < 2) return FALSE;
    const std::span<const POINT> path(points, std::size_t(count));
    for (const POINT& p : path)
        if (!InCoordinateSpace({p.x, p.y})) return FALSE;
    DrawPolygon(dc->target, path, PaintOf(*dc));
    return TRUE;
}

BOOL MoveToEx(HDC dc, int x, int y, POINT* previous) {
    if (dc == nullptr) return FALSE;
    if (previous != nullptr) *previous = dc->position;
    dc->position = POINT{x, y};
    return TRUE;
}

BOOL LineTo(HDC dc, int x, int y) {
    if (!HasPixels(dc) || !InCoordinateSpace({dc->position.x, dc->position.y, x, y})) return FALSE;
    DrawLine(dc->target, dc->position, POINT{x, y}, PaintOf(*dc).pen);
    dc->position = POINT{x, y};
    return TRUE;
}

int GetDeviceCaps(HDC dc, int index) {
    if (dc == nullptr) return 0;
    platform::ScreenMode mode;
    if (dc->kind == DeviceContext::Kind::Surface)
        mode = {dc->target.width, dc->target.height, dc->target.bitsPerPixel};
    else
        mode = platform::CurrentBackend().DesktopMode();
    switch (index) {
    case HORZRES:
        return mode.width;
    case VERTRES:
        return mode.height;
    case BITSPIXEL:
        return mode.bitsPerPixel;
    default:
        return 0;
    }
}

HDC GetDC(HWND window) {
    if (window != 0 && !platform::CurrentBackend().WindowExists(window)) return nullptr;
    return platform::CreateWindowDC(window);
}

int ReleaseDC(HWND window, HDC dc) {
    {
        WindowContexts& contexts = OpenWindowContexts();
        std::lock_guard guard(contexts.lock);
        if (!contexts.open.contains(dc) || dc->window != window) return 0;
        contexts.open.erase(dc);
    }
    // A window that went away meanwhile refuses the pictures; the context is
    // released all the same.
    for (const DeviceContext::PendingPaint& paint : dc->paints)
        platform::CurrentBackend().PaintBitmap(window, paint.x, paint.y, paint.picture);
    platform::DestroyDC(dc);
    return 1;
}

BOOL GetDeviceGammaRamp(HDC, void*) { return FALSE; }

BOOL SetDeviceGammaRamp(HDC, void*) { return FALSE; }
