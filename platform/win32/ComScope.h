// COM for the calling thread while an object lives. Internal to
// platform/win32.
#pragma once

#include "platform/winapi/WinTypes.h"

#include <objbase.h>

namespace platform::win32 {

// A thread that already has COM in another model keeps it; the scope then
// leaves it alone.
class ComScope {
public:
    ComScope()
        : initialized_(
              SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE))) {}
    ~ComScope() {
        if (initialized_) CoUninitialize();
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;

private:
    bool initialized_;
};

}  // namespace platform::win32
