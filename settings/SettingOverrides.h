// Settings given for one run on the command line (a screensaver host passes
// what its own settings page holds). They are applied after loading and are
// never written to the store.
#pragma once

#include "settings/Settings.h"

#include <optional>

enum class DaytimeMode { Real, Demo, Off };

struct SettingOverrides {
    std::optional<int> gullCount;  // 0..10
    std::optional<Speed> speed;
    std::optional<DaytimeMode> daytime;
    std::optional<bool> showClock;
    std::optional<bool> playSound;
    std::optional<bool> showFrameRate;

    void ApplyTo(Settings& settings) const;
};
