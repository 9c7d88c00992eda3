// The raw pixel value a colour has in a surface's own pixel format: the
// drawables' colour keys are made from it.
#pragma once

#include "platform/winapi/DirectDraw.h"

// Writes `color` into the surface's top-left pixel through a device context,
// reads that pixel back raw through Lock, and puts the old pixel back. With
// CLR_INVALID nothing is written and the result is the top-left pixel's
// stored value. Bits above the format's width are cleared. CLR_INVALID when
// the surface is absent or cannot be locked.
DWORD SurfaceColorValue(IDirectDrawSurface7* surface, COLORREF color);
