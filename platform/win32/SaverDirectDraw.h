// The saver's DirectDraw, loaded before the display opens and kept loaded
// while the saver runs.
//
// Under Wine, DirectDraw draws through Wine's Direct3D, which by default hands
// the work to a command-stream thread that spins while it waits for the next
// command: drawing at the refresh rate, that thread alone keeps a core busy
// for as long as the saver runs. Wine decides whether to start the thread from
// its per-program settings when the library loads, so the saver asks for none,
// for this program alone, only where the user has made no choice of their own,
// and only while the library loads: the setting is taken away at once.
// On Windows itself this is a plain load from System32.
#pragma once

#include <windows.h>

#include <memory>
#include <type_traits>

namespace platform::win32 {

class SaverDirectDraw {
public:
    // Loads the system's ddraw.dll. Where it cannot be loaded nothing is
    // held, and opening the display reports the failure as it always has.
    SaverDirectDraw();

private:
    struct LibraryFreer {
        void operator()(HMODULE library) const { FreeLibrary(library); }
    };
    std::unique_ptr<std::remove_pointer_t<HMODULE>, LibraryFreer> library_;
};

}  // namespace platform::win32
