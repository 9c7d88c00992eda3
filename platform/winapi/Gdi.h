// GDI drawing on device contexts: surfaces' contexts (IDirectDrawSurface7::GetDC),
// the screen's context (GetDC(0)) and other windows' contexts (the preview).
// Figures follow GDI's rules for which pixels they cover and are clipped to
// the context's target. On Windows it is the system's own.
#pragma once

#include "platform/winapi/WinTypes.h"

#ifdef _WIN32

// windows.h has declared it.
#else

struct GdiObject;
using HGDIOBJ = GdiObject*;
using HPEN = GdiObject*;
using HBRUSH = GdiObject*;

inline constexpr int TRANSPARENT = 1;
inline constexpr int OPAQUE = 2;
int SetBkMode(HDC dc, int mode);
COLORREF SetTextColor(HDC dc, COLORREF color);
// Draws `length` characters of `text` with the context's default font (an
// embedded TrueType face), top-left of the text cell at (x, y).
BOOL TextOutA(HDC dc, int x, int y, const char* text, int length);

COLORREF GetPixel(HDC dc, int x, int y);
COLORREF SetPixel(HDC dc, int x, int y, COLORREF color);

inline constexpr int PS_SOLID = 0;
HPEN CreatePen(int style, int width, COLORREF color);
HBRUSH CreateSolidBrush(COLORREF color);
HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);
BOOL DeleteObject(HGDIOBJ object);

// Filled with the brush, outlined with the pen; the box's right and bottom
// edges are excluded, as in GDI.
BOOL Ellipse(HDC dc, int left, int top, int right, int bottom);
BOOL Rectangle(HDC dc, int left, int top, int right, int bottom);
BOOL Polygon(HDC dc, const POINT* points, int count);
BOOL MoveToEx(HDC dc, int x, int y, POINT* previous);
// Draws from the current position up to, not including, (x, y).
BOOL LineTo(HDC dc, int x, int y);

inline constexpr int HORZRES = 8;
inline constexpr int VERTRES = 10;
inline constexpr int BITSPIXEL = 12;
int GetDeviceCaps(HDC dc, int index);

// A window's context; window 0 is the whole screen (the desktop's size and
// depth). Drawing into another program's window reaches it on ReleaseDC.
HDC GetDC(HWND window);
int ReleaseDC(HWND window, HDC dc);

// The screen's hardware gamma ramp (three tables of 256 entries). The real
// display's ramp is never touched here (the back end applies the primary's
// ramp to what it presents), so there is none to read or write: both fail.
BOOL GetDeviceGammaRamp(HDC dc, void* ramp);
BOOL SetDeviceGammaRamp(HDC dc, void* ramp);

#endif  // _WIN32
