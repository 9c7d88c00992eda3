// The saver's persistent settings: one field per stored value, and the load
// procedure both forms run when they are created. The values' stored names
// are known only to the table behind these functions.
#pragma once

#include "platform/winapi/WinTypes.h"

#include <variant>

class TComponent;
class SettingsStore;

// The frame rate the scene runs at; a stored number outside these runs at
// Normal.
enum class Speed : int { Slow = 0, Normal = 1, Fast = 2 };

struct Settings {
    bool showClock = false;
    bool playSound = false;
    bool showFrameRate = false;
    bool anyInputEnds = false;    // true: any input ends the saver; false: only Esc
    int gammaLevel = 0;           // 0..256, 256 leaves the picture unchanged
    bool useDesktopMode = false;  // use the desktop's mode instead of the three below
    int width = 0;
    int height = 0;
    int bitsPerPixel = 0;
    int clockCentreX = 0;
    int clockCentreY = 0;
    int clockRadius = 0;
    int clockColour = 0;  // 0x00BBGGRR
    Speed speed = Speed::Slow;
    int gullCount = 0;  // 0..10
    bool showDolphins = false;
    bool showYacht = false;
    bool realDaylight = false;  // lighting follows the real clock
    bool demoDay = false;       // lighting runs the fast demonstration day
    bool showDemoClock = false;
    bool daylightSaving = false;
    float latitude = 0;      // degrees, north positive
    float longitude = 0;     // degrees, east positive
    int utcOffsetHours = 0;  // whole hours, east positive
    bool showSunTimes = false;
    int cityIndex = 0;  // position in the city table; only the dialog reads it

    friend bool operator==(const Settings&, const Settings&) = default;
};

struct DesktopMode {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 0;
};

enum class LoadVariant {
    Scene,   // raises the desktop's depth to 32 where the display offers it
    Dialog,  // also reads the city's index
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

// Writes every value in the stored order, the city's index last.
void WriteAllSettings(SettingsStore& store, const Settings& settings);

// One field of the settings, naming the stored value behind it.
using SettingField = std::variant<bool Settings::*, int Settings::*, float Settings::*, Speed Settings::*>;

// Writes the value of `field` alone under its stored name; a failed
// transfer throws SettingsStoreError.
void WriteSetting(SettingsStore& store, const Settings& settings, SettingField field);

// Throws SettingsStoreError unless the store holds the value that says the
// settings exist: writes that went nowhere must not pass for a save.
void ConfirmSettingsStored(SettingsStore& store);
