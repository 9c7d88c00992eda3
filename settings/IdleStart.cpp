#include "settings/IdleStart.h"

#include "settings/SettingsStore.h"

namespace {

constexpr const char* kIdleStartMinutesValue = "IdleStartMinutes";

}  // namespace

int ReadIdleStartMinutes(SettingsStore& store) {
    int minutes = kDefaultIdleStartMinutes;
    try {
        store.Read(kIdleStartMinutesValue, &minutes);
    } catch (const SettingsStoreError&) {
        return kDefaultIdleStartMinutes;
    }
    return minutes > 0 ? minutes : kDefaultIdleStartMinutes;
}
