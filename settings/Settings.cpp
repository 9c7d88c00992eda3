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
#include <type_traits>
#include <variant>

namespace {

struct StoredValue {
    const char* name;
    SettingField field;
};

// The stored order: reads and writes go through the values in this order.
const std::array<StoredValue, 26> kStoredValues = {{
    {"flag_clock", &Settings::showClock},
    {"flag_PlaySound", &Settings::playSound},
    {"flag_fps", &Settings::showFrameRate},
    {"TermMouse", &Settings::anyInputEnds},
    {"Gamma", &Settings::gammaLevel},
    {"flag_defres", &Settings::useDesktopMode},
    {"ResHor", &Settings::width},
    {"ResVert", &Settings::height},
    {"ColorDepth", &Settings::bitsPerPixel},
    {"clockX", &Settings::clockCentreX},
    {"clockY", &Settings::clockCentreY},
    {"clockRad", &Settings::clockRadius},
    {"ColorClock", &Settings::clockColour},
    {"SetSpeed", &Settings::speed},
    {"NumBirds", &Settings::gullCount},
    {"FlagShowDolphins", &Settings::showDolphins},
    {"FlagShowYacht", &Settings::showYacht},
    {"FlagDaytime", &Settings::realDaylight},
    {"FlagDemoDaytime", &Settings::demoDay},
    {"FlagShowSimulateTime", &Settings::showDemoClock},
    {"FlagDaylightSavingTime", &Settings::daylightSaving},
    {"RegLat", &Settings::latitude},
    {"RegLng", &Settings::longitude},
    {"RegOfUTC", &Settings::utcOffsetHours},
    {"ShowRisSet", &Settings::showSunTimes},
    {"IndexCity", &Settings::cityIndex},
}};

// An enumeration is stored as its number.
template <class Value>
bool ReadField(SettingsStore& store, const char* name, Value& target) {
    if constexpr (std::is_enum_v<Value>) {
        std::underlying_type_t<Value> stored{};
        if (!store.Read(name, &stored)) return false;
        target = Value(stored);
        return true;
    } else {
        return store.Read(name, &target);
    }
}

template <class Value>
void WriteField(SettingsStore& store, const char* name, const Value& source) {
    if constexpr (std::is_enum_v<Value>) {
        store.Write(name, static_cast<std::underlying_type_t<Value>>(source));
    } else {
        store.Write(name, source);
    }
}

bool ReadValue(SettingsStore& store, Settings& settings, const StoredValue& value) {
    return std::visit([&](auto field) { return ReadField(store, value.name, settings.*field); }, value.field);
}

void WriteValue(SettingsStore& store, const Settings& settings, const StoredValue& value) {
    std::visit([&](auto field) { WriteField(store, value.name, settings.*field); }, value.field);
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
    settings.gullCount = 7;
    settings.realDaylight = false;
    settings.demoDay = true;
    return settings;
}

Settings FirstRunDefaults(const DesktopMode& desktop) {
    const ClockPlacement clock = CornerClockPlacement(desktop.width);
    Settings settings;
    settings.showClock = true;
    settings.playSound = true;
    settings.showFrameRate = true;
    settings.anyInputEnds = true;
    settings.gammaLevel = 256;
    settings.useDesktopMode = true;
    settings.width = desktop.width;
    settings.height = desktop.height;
    settings.bitsPerPixel = desktop.bitsPerPixel;
    settings.clockCentreX = clock.x;
    settings.clockCentreY = clock.y;
    settings.clockRadius = clock.radius;
    settings.clockColour = 0xFFFFFF;
    settings.speed = Speed::Normal;
    settings.gullCount = 7;
    settings.showDolphins = true;
    settings.showYacht = true;
    settings.realDaylight = false;
    settings.demoDay = true;
    settings.showDemoClock = true;
    settings.daylightSaving = false;
    // The first city of the table, given by its stored bits.
    settings.latitude = std::bit_cast<float>(0x424B2222u);   // 50.783333
    settings.longitude = std::bit_cast<float>(0x40C33333u);  // 6.1
    settings.utcOffsetHours = 1;
    settings.showSunTimes = true;
    settings.cityIndex = 0;
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
        if (value->field == SettingField(&Settings::cityIndex) && variant != LoadVariant::Dialog) break;
        read([&] { return ReadValue(store, settings, *value); });
        if (value->field == SettingField(&Settings::bitsPerPixel) && settings.useDesktopMode) {
            DesktopMode desktop = ReadDesktopMode();
            settings.width = desktop.width;
            settings.height = desktop.height;
            settings.bitsPerPixel = desktop.bitsPerPixel;
            if (variant == LoadVariant::Scene && desktop.bitsPerPixel < 32 && DisplayOffers32BitMode(owner)) {
                settings.bitsPerPixel = 32;
            }
        }
    }
    if (firstError) std::rethrow_exception(firstError);
}

void WriteAllSettings(SettingsStore& store, const Settings& settings) {
    for (const StoredValue& value : kStoredValues) WriteValue(store, settings, value);
}

void WriteSetting(SettingsStore& store, const Settings& settings, SettingField field) {
    const auto value = std::ranges::find(kStoredValues, field, &StoredValue::field);
    WriteValue(store, settings, *value);
}

void ConfirmSettingsStored(SettingsStore& store) {
    Settings scratch;
    if (!ReadValue(store, scratch, Marker()))
        throw SettingsStoreError(std::string("Failed to set data for '") + Marker().name + "'");
}
