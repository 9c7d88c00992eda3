// DirectDraw 7 as the display components use it: reference-counted device and
// surface objects over software surfaces in the display's pixel format
// (16 bpp RGB565, 24 bpp packed RGB, 32 bpp XRGB8888). On Windows it is the
// system's own.
#pragma once

#include "platform/winapi/WinTypes.h"

#ifdef _WIN32

#include <ddraw.h>

#else

#include <cstddef>

// Result codes. Distinct values; DDERR_GENERIC equals E_FAIL.
inline constexpr HRESULT DD_OK = S_OK;
inline constexpr HRESULT DDERR_GENERIC = E_FAIL;
inline constexpr HRESULT DDERR_OUTOFMEMORY = HRESULT(0x8007000E);
inline constexpr HRESULT DDERR_INVALIDPARAMS = HRESULT(0x80070057);
constexpr HRESULT MakeDDHResult(unsigned code) { return HRESULT(0x88760000u | code); }
inline constexpr HRESULT DDERR_INCOMPATIBLEPRIMARY = MakeDDHResult(95);
inline constexpr HRESULT DDERR_INVALIDOBJECT = MakeDDHResult(130);
inline constexpr HRESULT DDERR_INVALIDRECT = MakeDDHResult(150);
inline constexpr HRESULT DDERR_NOEXCLUSIVEMODE = MakeDDHResult(225);
inline constexpr HRESULT DDERR_NOTFOUND = MakeDDHResult(255);
inline constexpr HRESULT DDERR_SURFACELOST = MakeDDHResult(450);
inline constexpr HRESULT DDERR_UNSUPPORTED = HRESULT(0x80004001);
inline constexpr HRESULT DDERR_WASSTILLDRAWING = MakeDDHResult(540);
inline constexpr HRESULT DDERR_WRONGMODE = MakeDDHResult(587);
inline constexpr HRESULT DDERR_IMPLICITLYCREATED = MakeDDHResult(588);
inline constexpr HRESULT DDERR_NOTLOCKED = MakeDDHResult(584);
inline constexpr HRESULT DDERR_CANTCREATEDC = MakeDDHResult(589);
inline constexpr HRESULT DDERR_DCALREADYCREATED = MakeDDHResult(620);
inline constexpr HRESULT DDERR_INVALIDMODE = MakeDDHResult(90);
inline constexpr HRESULT DDERR_INVALIDPIXELFORMAT = MakeDDHResult(145);
inline constexpr HRESULT DDERR_NOCOLORKEY = MakeDDHResult(215);
inline constexpr HRESULT DDERR_SURFACEBUSY = MakeDDHResult(430);
inline constexpr HRESULT DDERR_PRIMARYSURFACEALREADYEXISTS = MakeDDHResult(564);
inline constexpr HRESULT DDERR_NOTFLIPPABLE = MakeDDHResult(582);

// Interface identifiers.
struct GUID {
    DWORD Data1;
    WORD Data2;
    WORD Data3;
    BYTE Data4[8];
    friend bool operator==(const GUID&, const GUID&) = default;
};
using REFIID = const GUID&;
inline constexpr GUID IID_IDirectDraw7 = {
    0x15e65ec0, 0x3b9c, 0x11d2, {0xb9, 0x2f, 0x00, 0x60, 0x97, 0x97, 0xea, 0x5b}};
inline constexpr GUID IID_IDirectDrawGammaControl = {
    0x69C11C3E, 0xB46B, 0x11D1, {0xAD, 0x7A, 0x00, 0xC0, 0x4F, 0xC2, 0x9B, 0x4E}};

// Cooperative level.
inline constexpr DWORD DDSCL_FULLSCREEN = 0x00000001;
inline constexpr DWORD DDSCL_ALLOWREBOOT = 0x00000002;
inline constexpr DWORD DDSCL_NORMAL = 0x00000008;
inline constexpr DWORD DDSCL_EXCLUSIVE = 0x00000010;
inline constexpr DWORD DDSCL_ALLOWMODEX = 0x00000040;

// Surface description.
inline constexpr DWORD DDSD_CAPS = 0x00000001;
inline constexpr DWORD DDSD_HEIGHT = 0x00000002;
inline constexpr DWORD DDSD_WIDTH = 0x00000004;
inline constexpr DWORD DDSD_PITCH = 0x00000008;
inline constexpr DWORD DDSD_BACKBUFFERCOUNT = 0x00000020;
inline constexpr DWORD DDSD_LPSURFACE = 0x00000800;
inline constexpr DWORD DDSD_PIXELFORMAT = 0x00001000;

inline constexpr DWORD DDSCAPS_BACKBUFFER = 0x00000004;
inline constexpr DWORD DDSCAPS_COMPLEX = 0x00000008;
inline constexpr DWORD DDSCAPS_FLIP = 0x00000010;
inline constexpr DWORD DDSCAPS_FRONTBUFFER = 0x00000020;
inline constexpr DWORD DDSCAPS_OFFSCREENPLAIN = 0x00000040;
inline constexpr DWORD DDSCAPS_PRIMARYSURFACE = 0x00000200;

inline constexpr DWORD DDPF_RGB = 0x00000040;

struct DDPIXELFORMAT {
    DWORD dwSize;
    DWORD dwFlags;
    DWORD dwFourCC;
    DWORD dwRGBBitCount;
    DWORD dwRBitMask;
    DWORD dwGBitMask;
    DWORD dwBBitMask;
    DWORD dwRGBAlphaBitMask;
};

struct DDSCAPS2 {
    DWORD dwCaps;
    DWORD dwCaps2;
    DWORD dwCaps3;
    DWORD dwCaps4;
};

struct DDCOLORKEY {
    DWORD dwColorSpaceLowValue;
    DWORD dwColorSpaceHighValue;
};

struct DDSURFACEDESC2 {
    DWORD dwSize;
    DWORD dwFlags;
    DWORD dwHeight;
    DWORD dwWidth;
    LONG lPitch;
    DWORD dwBackBufferCount;
    DWORD dwRefreshRate;
    void* lpSurface;
    DDCOLORKEY ddckCKSrcBlt;
    DDPIXELFORMAT ddpfPixelFormat;
    DDSCAPS2 ddsCaps;
};

// Blits.
inline constexpr DWORD DDBLT_COLORFILL = 0x00000400;
inline constexpr DWORD DDBLT_WAIT = 0x01000000;
inline constexpr DWORD DDBLTFAST_NOCOLORKEY = 0x00000000;
inline constexpr DWORD DDBLTFAST_SRCCOLORKEY = 0x00000001;
inline constexpr DWORD DDBLTFAST_WAIT = 0x00000010;
inline constexpr DWORD DDCKEY_SRCBLT = 0x00000008;
inline constexpr DWORD DDFLIP_WAIT = 0x00000001;
inline constexpr DWORD DDLOCK_WAIT = 0x00000001;

struct DDBLTFX {
    DWORD dwSize;
    DWORD dwFillColor;
};

// Capabilities: the record is 380 bytes, as callers size it.
inline constexpr DWORD DDCAPS2_PRIMARYGAMMA = 0x00020000;
struct DDCAPS {
    DWORD dwSize;
    DWORD dwCaps;
    DWORD dwCaps2;
    BYTE reserved[380 - 3 * sizeof(DWORD)];
};
static_assert(sizeof(DDCAPS) == 380);

struct DDGAMMARAMP {
    WORD red[256];
    WORD green[256];
    WORD blue[256];
};

inline constexpr DWORD DDENUM_ATTACHEDSECONDARYDEVICES = 0x00000001;
inline constexpr DWORD DDENUMRET_CANCEL = 0;
inline constexpr DWORD DDENUMRET_OK = 1;

class IUnknown {
public:
    virtual HRESULT QueryInterface(REFIID iid, void** object) = 0;
    virtual DWORD AddRef() = 0;
    virtual DWORD Release() = 0;

protected:
    virtual ~IUnknown() = default;
};

class IDirectDrawSurface7;

class IDirectDrawGammaControl : public IUnknown {
public:
    virtual HRESULT GetGammaRamp(DWORD flags, DDGAMMARAMP* ramp) = 0;
    virtual HRESULT SetGammaRamp(DWORD flags, const DDGAMMARAMP* ramp) = 0;
};

class IDirectDrawSurface7 : public IUnknown {
public:
    virtual HRESULT GetAttachedSurface(DDSCAPS2* caps, IDirectDrawSurface7** surface) = 0;
    virtual HRESULT Flip(IDirectDrawSurface7* target, DWORD flags) = 0;
    virtual HRESULT IsLost() = 0;
    virtual HRESULT Restore() = 0;
    virtual HRESULT Blt(RECT* dest, IDirectDrawSurface7* source, RECT* sourceRect, DWORD flags,
                        DDBLTFX* fx) = 0;
    virtual HRESULT BltFast(DWORD x, DWORD y, IDirectDrawSurface7* source, RECT* sourceRect, DWORD flags) = 0;
    virtual HRESULT SetColorKey(DWORD flags, DDCOLORKEY* key) = 0;
    virtual HRESULT Lock(RECT* rect, DDSURFACEDESC2* desc, DWORD flags, void* event) = 0;
    virtual HRESULT Unlock(RECT* rect) = 0;
    virtual HRESULT GetDC(HDC* dc) = 0;
    virtual HRESULT ReleaseDC(HDC dc) = 0;
    virtual HRESULT GetSurfaceDesc(DDSURFACEDESC2* desc) = 0;
};

using LPDDENUMMODESCALLBACK2 = HRESULT(CALLBACK*)(DDSURFACEDESC2* mode, LPVOID context);

class IDirectDraw7 : public IUnknown {
public:
    virtual HRESULT SetCooperativeLevel(HWND window, DWORD flags) = 0;
    virtual HRESULT SetDisplayMode(DWORD width, DWORD height, DWORD bitsPerPixel, DWORD refreshRate,
                                   DWORD flags) = 0;
    virtual HRESULT RestoreDisplayMode() = 0;
    virtual HRESULT CreateSurface(DDSURFACEDESC2* desc, IDirectDrawSurface7** surface, IUnknown* outer) = 0;
    virtual HRESULT RestoreAllSurfaces() = 0;
    virtual HRESULT EnumDisplayModes(DWORD flags, DDSURFACEDESC2* filter, void* context,
                                     LPDDENUMMODESCALLBACK2 callback) = 0;
    virtual HRESULT GetCaps(DDCAPS* driverCaps, DDCAPS* emulationCaps) = 0;
};

// The base device object made by DirectDrawCreate: it answers QueryInterface
// for IID_IDirectDraw7 and reports its capabilities.
class IDirectDraw : public IUnknown {
public:
    virtual HRESULT GetCaps(DDCAPS* driverCaps, DDCAPS* emulationCaps) = 0;
};

HRESULT DirectDrawCreate(GUID* device, IDirectDraw** directDraw, IUnknown* outer);

using LPDDENUMCALLBACKEXA = BOOL(CALLBACK*)(GUID* device, LPSTR description, LPSTR name, LPVOID context,
                                            HMONITOR monitor);
// Exported by the platform's "ddraw.dll" (LoadLibraryA / GetProcAddress):
// calls back for the default device (no identifier), then once per monitor.
using LPDIRECTDRAWENUMERATEEXA = HRESULT(WINAPI*)(LPDDENUMCALLBACKEXA callback, LPVOID context, DWORD flags);
HRESULT DirectDrawEnumerateExA(LPDDENUMCALLBACKEXA callback, void* context, DWORD flags);

#endif  // _WIN32
