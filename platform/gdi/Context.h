// What a device context and a GDI object are inside the platform.
#pragma once

#include "platform/forms/Bitmap.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/winapi/Gdi.h"

#include <vector>

struct GdiObject {
    enum class Kind { Pen, Brush };
    Kind kind = Kind::Pen;
    COLORREF color = 0;
    bool stock = false;
    // How many contexts have it selected; guarded by the object table's lock.
    int selections = 0;
};

struct DeviceContext {
    enum class Kind { Surface, Window };

    // A picture drawn into a window's context, sent to the window on release.
    struct PendingPaint {
        int x = 0;
        int y = 0;
        TBitmap picture;
    };

    Kind kind = Kind::Surface;
    HWND window = 0;                   // Window contexts
    platform::PixelTarget target;      // Surface contexts
    std::vector<PendingPaint> paints;  // Window contexts

    int bkMode = OPAQUE;
    COLORREF textColor = RGB(0, 0, 0);
    COLORREF bkColor = RGB(255, 255, 255);
    GdiObject* pen = nullptr;
    GdiObject* brush = nullptr;
    POINT position{0, 0};
};
