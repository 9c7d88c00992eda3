// The saver's persistent settings: one field per stored value, named as the
// value, and the load procedure both forms run when they are created.
#pragma once

#include "platform/winapi/WinTypes.h"

class TComponent;
class SettingsStore;

struct Settings {
    bool flag_clock = false;
    bool flag_PlaySound = false;
    bool flag_fps = false;
    bool TermMouse = false;    // true: any input ends the saver; false: only Esc
    int Gamma = 0;             // 0..256, 256 leaves the picture unchanged
    bool flag_defres = false;  // use the desktop's mode instead of the three below
    int ResHor = 0;
    int ResVert = 0;
    int ColorDepth = 0;
    int clockX = 0;
    int clockY = 0;
    int clockRad = 0;
    int ColorClock = 0;  // 0x00BBGGRR
    int SetSpeed = 0;    // 0 slow, 1 normal, 2 fast
    int NumBirds = 0;    // 0..10
    bool FlagShowDolphins = false;
    bool FlagShowYacht = false;
    bool FlagDaytime = false;      // lighting follows the real clock
    bool FlagDemoDaytime = false;  // lighting runs the fast demonstration day
    bool FlagShowSimulateTime = false;
    bool FlagDaylightSavingTime = false;
    float RegLat = 0;  // degrees, north positive
    float RegLng = 0;  // degrees, east positive
    int RegOfUTC = 0;  // whole hours, east positive
    bool ShowRisSet = false;
    int IndexCity = 0;  // position in the city table; only the dialog reads it

    friend bool operator==(const Settings&, const Settings&) = default;
};

struct DesktopMode {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 0;
};

enum class LoadVariant {
    Scene,   // raises the desktop's depth to 32 where the display offers it
    Dialog,  // also reads IndexCity
};

// The store of the saver's settings, under
// HKEY_CURRENT_USER\SOFTWARE\Corvane\Tidereach.
SettingsStore SaverSettingsStore(TComponent* owner);

// What the scene form holds before it loads: seven seagulls and the demo day.
Settings ScenePresets();
// A first run's values: the desktop's mode, the clock near its top-right
// corner, the first city of the table.
Settings FirstRunDefaults(const DesktopMode& desktop);

// The screen's size and depth (the screen's device context).
DesktopMode ReadDesktopMode();

// Loads `settings` in the stored order. Without the key (first run) it takes
// the first-run values and writes all of them together, the first value (the
// probe) last; while a key lacks the probe and values keep appearing in it
// (another saver's first run), it waits for the probe. A key that a first run
// cut short left without the probe is completed with the first-run values it
// lacks, then loaded. A missing or mistyped value throws SettingsStoreError. The scene's load stops there:
// the values read until then stay in `settings`, the rest keep what they
// held. The dialog's reads every value it can and throws the first error at
// the end; only the values it could not read keep what they held.
void LoadSettings(SettingsStore& store, Settings& settings, LoadVariant variant, HWND owner = 0);

// Writes every value in the stored order, IndexCity last.
void WriteAllSettings(SettingsStore& store, const Settings& settings);
