#include "settings/IdleStart.h"

#include "platform/Autostart.h"
#include "settings/SettingsStore.h"

namespace {

constexpr const char* kIdleStartMinutesValue = "IdleStartMinutes";
constexpr const char* kLoginEntry = "tidereach-watch-idle";
constexpr int kMaxIdleStartMinutes = 720;

constexpr TGridPlace At(int column) { return {0, column, 1, 1, false, 0}; }

}  // namespace

int ReadIdleStartMinutes(SettingsStore& store) {
    int minutes = kDefaultIdleStartMinutes;
    try {
        store.Read(kIdleStartMinutesValue, &minutes);
    } catch (const SettingsStoreError&) {
        return kDefaultIdleStartMinutes;
    }
    return minutes > 0 && minutes <= kMaxIdleStartMinutes ? minutes : kDefaultIdleStartMinutes;
}

IdleStartOption::IdleStartOption(TWinControl* page, TGridPlace place)
    : frame(page, "", place),
      startByItself(&frame, "Start by itself after", At(0)),
      minutes(&frame, "", At(1)),
      rest(&frame, "minutes on desktops without a screensaver", At(2)) {
    minutes.MinValue = 1;
    minutes.MaxValue = kMaxIdleStartMinutes;
    minutes.Increment = 1;
    RestoreDefaults();
}

void IdleStartOption::Load(SettingsStore& store) {
    startByItself.SetChecked(platform::AutostartEntryExists(kLoginEntry));
    minutes.SetValue(ReadIdleStartMinutes(store));
}

void IdleStartOption::Save(SettingsStore& store) const {
    if (!startByItself.Checked()) {
        platform::RemoveAutostartEntry(kLoginEntry);
        return;
    }
    store.Write(kIdleStartMinutesValue, int(minutes.Value()));
    platform::WriteAutostartEntry(kLoginEntry, "Tideway Islands idle start", "--watch-idle");
}

void IdleStartOption::RestoreDefaults() {
    startByItself.SetChecked(false);
    minutes.SetValue(kDefaultIdleStartMinutes);
}
