// The dialog's table of fixed video modes and the probes of the display: which
// modes exist, and whether the screen's gamma can be set.
#pragma once

#include "platform/OfferedModes.h"
#include "platform/winapi/WinTypes.h"

#include <array>

struct VideoMode {
    int width;
    int height;
    int bitsPerPixel;
    bool available;
};

// Each of kFixedModeSizes at each of kOfferedDepths, size major; every entry
// starts unavailable.
class VideoModeTable {
public:
    static constexpr std::size_t kEntries =
        platform::kFixedModeSizes.size() * platform::kOfferedDepths.size();

    VideoModeTable();

    // Marks the entry equal in size and depth, if there is one.
    void MarkAvailable(int width, int height, int bitsPerPixel);
    // The first entry equal in size and depth; unavailable when none is.
    bool Available(int width, int height, int bitsPerPixel) const;
    const std::array<VideoMode, kEntries>& Entries() const { return entries_; }

private:
    std::array<VideoMode, kEntries> entries_;
};

// Marks every mode the primary display offers. When no display object can be
// made it says "DirectDraw Init FAILED" in a box owned by `owner` and leaves
// the table as it was.
void ProbeDisplayModes(VideoModeTable& table, HWND owner);

// Whether the primary display offers any 32-bit mode. When no display object
// (or none with a mode list) can be made it says so as above and answers
// false.
bool DisplayOffers32BitMode(HWND owner);

// Whether the primary display can set the gamma of its primary surface. When
// no display object can be made it says so as above and answers false.
bool ProbeGammaSupport(HWND owner);
