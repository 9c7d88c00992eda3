#include "settings/Settings.h"

#include "platform/winapi/Gdi.h"
#include "platform/winapi/User.h"
#include "settings/ClockPlacement.h"
#include "settings/SettingsStore.h"
#include "settings/VideoModes.h"

#include <algorithm>
#include <array>
#include <bit>
#include <chrono>
#include <exception>
#include <thread>
#include <variant>

namespace {

using Field = std::variant<bool Settings::*, int Settings::*, float Settings::*>;

struct StoredValue {
    const char* name;
    Field field;
};

// The stored order: reads and writes go through the values in this order.
const std::array<StoredValue, 26> kStoredValues = {{
    {"flag_clock", &Settings::flag_clock},
    {"flag_PlaySound", &Settings::flag_PlaySound},
    {"flag_fps", &Settings::flag_fps},
    {"TermMouse", &Settings::TermMouse},
    {"Gamma", &Settings::Gamma},
    {"flag_defres", &Settings::flag_defres},
    {"ResHor", &Settings::ResHor},
    {"ResVert", &Settings::ResVert},
    {"ColorDepth", &Settings::ColorDepth},
    {"clockX", &Settings::clockX},
    {"clockY", &Settings::clockY},
    {"clockRad", &Settings::clockRad},
    {"ColorClock", &Settings::ColorClock},
    {"SetSpeed", &Settings::SetSpeed},
    {"NumBirds", &Settings::NumBirds},
    {"FlagShowDolphins", &Settings::FlagShowDolphins},
    {"FlagShowYacht", &Settings::FlagShowYacht},
    {"FlagDaytime", &Settings::FlagDaytime},
    {"FlagDemoDaytime", &Settings::FlagDemoDaytime},
    {"FlagShowSimulateTime", &Settings::FlagShowSimulateTime},
    {"FlagDaylightSavingTime", &Settings::FlagDaylightSavingTime},
    {"RegLat", &Settings::RegLat},
    {"RegLng", &Settings::RegLng},
    {"RegOfUTC", &Settings::RegOfUTC},
    {"ShowRisSet", &Settings::ShowRisSet},
    {"IndexCity", &Settings::IndexCity},
}};

bool ReadValue(SettingsStore& store, Settings& settings, const StoredValue& value) {
    return std::visit([&](auto field) { return store.Read(value.name, &(settings.*field)); }, value.field);
}

void WriteValue(SettingsStore& store, const Settings& settings, const StoredValue& value) {
    std::visit([&](auto field) { store.Write(value.name, settings.*field); }, value.field);
}

const StoredValue& Marker() { return kStoredValues.front(); }

// True when the value reads, or the key is missing.
bool Readable(SettingsStore& store, const StoredValue& value) {
    Settings scratch;
    try {
        ReadValue(store, scratch, value);
        return true;
    } catch (const SettingsStoreError&) {
        return false;
    }
}

// The values a key without the marker holds besides it.
struct Leftovers {
    long held = 0;
    bool damaged = false;  // one of them does not read
};

Leftovers InspectLeftovers(SettingsStore& store) {
    Leftovers leftovers;
    for (auto value = kStoredValues.begin() + 1; value != kStoredValues.end(); ++value) {
        if (!store.Holds(value->name)) continue;
        ++leftovers.held;
        if (!Readable(store, *value)) leftovers.damaged = true;
    }
    return leftovers;
}

enum class Probe {
    NoKey,              // a first run
    Read,               // the key has its marker, now in `settings`
    LeftWithoutMarker,  // a first run that was cut short left the key
};

// Reads the marker. A first run writes it last: while the key lacks it and
// values keep appearing, a peer's first run is under way, and it is read
// again. Once the key has stayed as it is for a second, its writer is gone:
// holding nothing but readable values, it was cut short; holding a damaged
// one, it is damaged and the marker's error stands. A marker that is there
// but does not read is an error at once.
Probe ReadProbe(SettingsStore& store, Settings& settings) {
    using Clock = std::chrono::steady_clock;
    constexpr auto kStep = std::chrono::milliseconds(25);
    constexpr auto kPatience = std::chrono::seconds(1);
    long held = -1;
    Clock::time_point lastChange = Clock::now();
    for (;;) {
        try {
            return ReadValue(store, settings, Marker()) ? Probe::Read : Probe::NoKey;
        } catch (const SettingsStoreError&) {
            if (store.Holds(Marker().name)) throw;
            const Leftovers now = InspectLeftovers(store);
            if (now.held != held) {
                held = now.held;
                lastChange = Clock::now();
            } else if (Clock::now() - lastChange > kPatience) {
                if (now.damaged) throw;
                return Probe::LeftWithoutMarker;
            }
        }
        std::this_thread::sleep_for(kStep);
    }
}

enum class Values { All, Missing };

// Writes `settings` as a first run does: the values together, the marker,
// which says the settings exist, last.
void WriteFirstRun(SettingsStore& store, const Settings& settings, Values which) {
    store.WriteTogether([&] {
        for (auto value = kStoredValues.begin() + 1; value != kStoredValues.end(); ++value) {
            if (which == Values::All || !store.Holds(value->name)) WriteValue(store, settings, *value);
        }
        WriteValue(store, settings, Marker());
    });
}

}  // namespace

SettingsStore SaverSettingsStore(TComponent* owner) {
    SettingsStore store(owner);
    store.SetCompanyName("Corvane");
    store.SetProductName("Tidereach");
    return store;
}

Settings ScenePresets() {
    Settings settings;
    settings.NumBirds = 7;
    settings.FlagDaytime = false;
    settings.FlagDemoDaytime = true;
    return settings;
}

Settings FirstRunDefaults(const DesktopMode& desktop) {
    const ClockPlacement clock = CornerClockPlacement(desktop.width);
    Settings settings;
    settings.flag_clock = true;
    settings.flag_PlaySound = true;
    settings.flag_fps = true;
    settings.TermMouse = true;
    settings.Gamma = 256;
    settings.flag_defres = true;
    settings.ResHor = desktop.width;
    settings.ResVert = desktop.height;
    settings.ColorDepth = desktop.bitsPerPixel;
    settings.clockX = clock.x;
    settings.clockY = clock.y;
    settings.clockRad = clock.radius;
    settings.ColorClock = 0xFFFFFF;
    settings.SetSpeed = 1;
    settings.NumBirds = 7;
    settings.FlagShowDolphins = true;
    settings.FlagShowYacht = true;
    settings.FlagDaytime = false;
    settings.FlagDemoDaytime = true;
    settings.FlagShowSimulateTime = true;
    settings.FlagDaylightSavingTime = false;
    // The first city of the table, given by its stored bits.
    settings.RegLat = std::bit_cast<float>(0x424B2222u);  // 50.783333
    settings.RegLng = std::bit_cast<float>(0x40C33333u);  // 6.1
    settings.RegOfUTC = 1;
    settings.ShowRisSet = true;
    settings.IndexCity = 0;
    return settings;
}

DesktopMode ReadDesktopMode() {
    HDC screen = GetDC(0);
    if (screen == nullptr) return {};
    DesktopMode mode{GetDeviceCaps(screen, HORZRES), GetDeviceCaps(screen, VERTRES),
                     GetDeviceCaps(screen, BITSPIXEL)};
    ReleaseDC(0, screen);
    return mode;
}

void LoadSettings(SettingsStore& store, Settings& settings, LoadVariant variant, HWND owner) {
    // The dialog reads on past a value it cannot read, so that one damaged
    // value costs that value alone: "OK" writes back everything it shows.
    std::exception_ptr firstError;
    auto read = [&](auto reading) {
        try {
            return reading();
        } catch (const SettingsStoreError&) {
            if (variant != LoadVariant::Dialog) throw;
            if (!firstError) firstError = std::current_exception();
            return true;  // the value is there, unreadable: so is the key
        }
    };
    Probe probe = Probe::Read;
    read([&] {
        probe = ReadProbe(store, settings);
        return true;
    });
    if (probe == Probe::NoKey) {
        // Savers started at the same moment (one per screen) each find
        // either no key, and write the same defaults, or all of them.
        settings = FirstRunDefaults(ReadDesktopMode());
        WriteFirstRun(store, settings, Values::All);
        return;
    }
    if (probe == Probe::LeftWithoutMarker) {
        // The values it holds keep theirs; the missing ones, the marker
        // among them, take their first-run defaults. Then it loads as any
        // whole key does.
        WriteFirstRun(store, FirstRunDefaults(ReadDesktopMode()), Values::Missing);
        read([&] { return ReadValue(store, settings, Marker()); });
    }
    for (auto value = kStoredValues.begin() + 1; value != kStoredValues.end(); ++value) {
        if (value->field == Field(&Settings::IndexCity) && variant != LoadVariant::Dialog) break;
        read([&] { return ReadValue(store, settings, *value); });
        if (value->field == Field(&Settings::ColorDepth) && settings.flag_defres) {
            DesktopMode desktop = ReadDesktopMode();
            settings.ResHor = desktop.width;
            settings.ResVert = desktop.height;
            settings.ColorDepth = desktop.bitsPerPixel;
            if (variant == LoadVariant::Scene && desktop.bitsPerPixel < 32 && DisplayOffers32BitMode(owner)) {
                settings.ColorDepth = 32;
            }
        }
    }
    if (firstError) std::rethrow_exception(firstError);
}

void WriteAllSettings(SettingsStore& store, const Settings& settings) {
    for (const StoredValue& value : kStoredValues) WriteValue(store, settings, value);
}
