// A ddraw.dll that records how the program leaves the display's gamma ramp,
// for the end-to-end tests of the endings. A test installs it in its Wine
// prefix as the system's ddraw.dll (WINEDLLOVERRIDES="ddraw=n") with Wine's
// own beside it as ddraw_real.dll, which does all the drawing. It
// - plays a calibrated display: the program's GDI reads of the screen's ramp
//   answer the calibration below, and its GDI writes are recorded;
// - records every ramp written through a gamma control, and each release of
//   the primary surface and of the device object;
// - with TIDEREACH_DDRAW_REFUSE_GAMMA set, refuses every gamma control write;
// - with TIDEREACH_DDRAW_LOSE_AFTER=N, loses the screen after N flips for
//   good: no surface can be restored any more (a display error mid-run).
// The record goes to the file TIDEREACH_DDRAW_LOG names, one line an event:
//   gamma <red 1> <red 255> <green 255> <blue 255>   through a gamma control
//   gdi <red 1> <red 255> <green 255> <blue 255>     through GDI
//   release primary <references left> | release device <references left>
#define CINTERFACE
#include <windows.h>
// After windows.h, which it needs.
#include <ddraw.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>

namespace {

// The calibration of the display: a warm curve, unlike any ramp the
// program makes (theirs are i times a step).
void FillCalibration(WORD (*ramp)[256]) {
    for (int i = 0; i < 256; ++i) {
        ramp[0][i] = WORD(i * 250 + 300);
        ramp[1][i] = WORD(i * 240 + 200);
        ramp[2][i] = WORD(i * 200 + 100);
    }
}

void Record(const char* format, ...) {
    const char* path = std::getenv("TIDEREACH_DDRAW_LOG");
    if (path == nullptr) return;
    FILE* log = std::fopen(path, "ab");
    if (log == nullptr) return;
    va_list arguments;
    va_start(arguments, format);
    std::vfprintf(log, format, arguments);
    va_end(arguments);
    std::fputc('\n', log);
    std::fclose(log);
}

void RecordRamp(const char* how, const WORD* red, const WORD* green, const WORD* blue) {
    Record("%s %u %u %u %u", how, red[1], red[255], green[255], blue[255]);
}

// Points one entry of a vtable or import table at `hook`, keeping the old one.
template <class Function>
void Patch(Function* entry, Function hook, Function* original) {
    if (*entry == hook) return;
    *original = *entry;
    DWORD protection = 0;
    VirtualProtect(entry, sizeof *entry, PAGE_READWRITE, &protection);
    *entry = hook;
    VirtualProtect(entry, sizeof *entry, protection, &protection);
}

// Flips of the primary until the screen is lost; negative: never.
int& FlipsLeft() {
    static int left = [] {
        const char* after = std::getenv("TIDEREACH_DDRAW_LOSE_AFTER");
        return after != nullptr ? std::atoi(after) : -1;
    }();
    return left;
}
bool ScreenLost() { return FlipsLeft() == 0; }

IDirectDrawSurface7* primarySurface = nullptr;

// --- the gamma control ---------------------------------------------------------

HRESULT(WINAPI* realSetGammaRamp)(IDirectDrawGammaControl*, DWORD, DDGAMMARAMP*) = nullptr;

HRESULT WINAPI HookSetGammaRamp(IDirectDrawGammaControl* control, DWORD flags, DDGAMMARAMP* ramp) {
    if (std::getenv("TIDEREACH_DDRAW_REFUSE_GAMMA") != nullptr) return DDERR_UNSUPPORTED;
    RecordRamp("gamma", ramp->red, ramp->green, ramp->blue);
    return realSetGammaRamp(control, flags, ramp);
}

// --- surfaces ------------------------------------------------------------------

HRESULT(WINAPI* realSurfaceQueryInterface)(IDirectDrawSurface7*, REFIID, void**) = nullptr;
ULONG(WINAPI* realSurfaceRelease)(IDirectDrawSurface7*) = nullptr;
HRESULT(WINAPI* realFlip)(IDirectDrawSurface7*, IDirectDrawSurface7*, DWORD) = nullptr;
HRESULT(WINAPI* realRestore)(IDirectDrawSurface7*) = nullptr;

HRESULT WINAPI HookSurfaceQueryInterface(IDirectDrawSurface7* surface, REFIID id, void** result) {
    const HRESULT answer = realSurfaceQueryInterface(surface, id, result);
    if (SUCCEEDED(answer) && IsEqualGUID(id, IID_IDirectDrawGammaControl)) {
        auto* control = static_cast<IDirectDrawGammaControl*>(*result);
        Patch(&const_cast<IDirectDrawGammaControlVtbl*>(control->lpVtbl)->SetGammaRamp, HookSetGammaRamp,
              &realSetGammaRamp);
    }
    return answer;
}

ULONG WINAPI HookSurfaceRelease(IDirectDrawSurface7* surface) {
    const ULONG left = realSurfaceRelease(surface);
    if (surface == primarySurface) {
        Record("release primary %lu", left);
        if (left == 0) primarySurface = nullptr;
    }
    return left;
}

HRESULT WINAPI HookFlip(IDirectDrawSurface7* surface, IDirectDrawSurface7* target, DWORD flags) {
    if (ScreenLost()) return DDERR_SURFACELOST;
    const HRESULT answer = realFlip(surface, target, flags);
    if (FlipsLeft() > 0 && surface == primarySurface && --FlipsLeft() == 0) Record("screen lost");
    return answer;
}

HRESULT WINAPI HookRestore(IDirectDrawSurface7* surface) {
    return ScreenLost() ? DDERR_WRONGMODE : realRestore(surface);
}

void PatchSurface(IDirectDrawSurface7* surface) {
    auto* table = const_cast<IDirectDrawSurface7Vtbl*>(surface->lpVtbl);
    Patch(&table->QueryInterface, HookSurfaceQueryInterface, &realSurfaceQueryInterface);
    Patch(&table->Release, HookSurfaceRelease, &realSurfaceRelease);
    Patch(&table->Flip, HookFlip, &realFlip);
    Patch(&table->Restore, HookRestore, &realRestore);
}

// --- the device ------------------------------------------------------------------

HRESULT(WINAPI* realCreateSurface)
(IDirectDraw7*, DDSURFACEDESC2*, IDirectDrawSurface7**, IUnknown*) = nullptr;
HRESULT(WINAPI* realRestoreAllSurfaces)(IDirectDraw7*) = nullptr;
ULONG(WINAPI* realDevice7Release)(IDirectDraw7*) = nullptr;
HRESULT(WINAPI* realDeviceQueryInterface)(IDirectDraw*, REFIID, void**) = nullptr;
ULONG(WINAPI* realDeviceRelease)(IDirectDraw*) = nullptr;

HRESULT WINAPI HookCreateSurface(IDirectDraw7* device, DDSURFACEDESC2* desc, IDirectDrawSurface7** surface,
                                 IUnknown* outer) {
    const HRESULT answer = realCreateSurface(device, desc, surface, outer);
    if (SUCCEEDED(answer)) {
        PatchSurface(*surface);
        if (desc->ddsCaps.dwCaps & DDSCAPS_PRIMARYSURFACE) primarySurface = *surface;
    }
    return answer;
}

HRESULT WINAPI HookRestoreAllSurfaces(IDirectDraw7* device) {
    return ScreenLost() ? DDERR_WRONGMODE : realRestoreAllSurfaces(device);
}

ULONG WINAPI HookDevice7Release(IDirectDraw7* device) {
    const ULONG left = realDevice7Release(device);
    Record("release device %lu", left);
    return left;
}

HRESULT WINAPI HookDeviceQueryInterface(IDirectDraw* device, REFIID id, void** result) {
    const HRESULT answer = realDeviceQueryInterface(device, id, result);
    if (SUCCEEDED(answer) && IsEqualGUID(id, IID_IDirectDraw7)) {
        auto* table = const_cast<IDirectDraw7Vtbl*>(static_cast<IDirectDraw7*>(*result)->lpVtbl);
        Patch(&table->CreateSurface, HookCreateSurface, &realCreateSurface);
        Patch(&table->RestoreAllSurfaces, HookRestoreAllSurfaces, &realRestoreAllSurfaces);
        Patch(&table->Release, HookDevice7Release, &realDevice7Release);
    }
    return answer;
}

ULONG WINAPI HookDeviceRelease(IDirectDraw* device) {
    const ULONG left = realDeviceRelease(device);
    Record("release device %lu", left);
    return left;
}

// --- the screen's ramp through GDI -------------------------------------------------

BOOL(WINAPI* realGetDeviceGammaRamp)(HDC, void*) = nullptr;
BOOL(WINAPI* realSetDeviceGammaRamp)(HDC, void*) = nullptr;

BOOL WINAPI HookGetDeviceGammaRamp(HDC, void* ramp) {
    FillCalibration(static_cast<WORD(*)[256]>(ramp));
    return TRUE;
}

BOOL WINAPI HookSetDeviceGammaRamp(HDC, void* ramp) {
    const auto* tables = static_cast<const WORD(*)[256]>(ramp);
    RecordRamp("gdi", tables[0], tables[1], tables[2]);
    return TRUE;
}

// Points the program's imports of the GDI ramp calls here.
void PatchProgramImports() {
    auto* base = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
    const auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& directory = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    const HMODULE gdi = GetModuleHandleA("gdi32.dll");
    const auto getRamp =
        reinterpret_cast<decltype(realGetDeviceGammaRamp)>(GetProcAddress(gdi, "GetDeviceGammaRamp"));
    const auto setRamp =
        reinterpret_cast<decltype(realSetDeviceGammaRamp)>(GetProcAddress(gdi, "SetDeviceGammaRamp"));
    for (auto* import = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + directory.VirtualAddress);
         directory.VirtualAddress != 0 && import->Name != 0; ++import) {
        for (auto* thunk = reinterpret_cast<IMAGE_THUNK_DATA*>(base + import->FirstThunk);
             thunk->u1.Function != 0; ++thunk) {
            auto* entry = reinterpret_cast<void**>(&thunk->u1.Function);
            if (*entry == reinterpret_cast<void*>(getRamp))
                Patch(reinterpret_cast<decltype(realGetDeviceGammaRamp)*>(entry), HookGetDeviceGammaRamp,
                      &realGetDeviceGammaRamp);
            if (*entry == reinterpret_cast<void*>(setRamp))
                Patch(reinterpret_cast<decltype(realSetDeviceGammaRamp)*>(entry), HookSetDeviceGammaRamp,
                      &realSetDeviceGammaRamp);
        }
    }
}

}  // namespace

extern "C" __declspec(dllexport) HRESULT WINAPI
    DirectDrawCreate(GUID* device, IDirectDraw** directDraw, IUnknown* outer) {
    static const HMODULE real = LoadLibraryExA("ddraw_real.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    using Create = HRESULT(WINAPI*)(GUID*, IDirectDraw**, IUnknown*);
    const auto create = real ? reinterpret_cast<Create>(GetProcAddress(real, "DirectDrawCreate")) : nullptr;
    if (create == nullptr) return DDERR_NODIRECTDRAWHW;
    const HRESULT answer = create(device, directDraw, outer);
    if (SUCCEEDED(answer)) {
        auto* table = const_cast<IDirectDrawVtbl*>((*directDraw)->lpVtbl);
        Patch(&table->QueryInterface, HookDeviceQueryInterface, &realDeviceQueryInterface);
        Patch(&table->Release, HookDeviceRelease, &realDeviceRelease);
    }
    return answer;
}

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, void*) {
    if (reason == DLL_PROCESS_ATTACH) PatchProgramImports();
    return TRUE;
}
