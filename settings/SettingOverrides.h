// Settings given for one run on the command line (a screensaver host passes
// what its own settings page holds). They are applied after loading and are
// never written to the store.
#pragma once

#include "settings/Settings.h"

#include <optional>

enum class DaytimeMode { Real, Demo, Off };

struct SettingOverrides {
    std::optional<int> NumBirds;  // 0..10
    std::optional<int> SetSpeed;  // 0 slow, 1 normal, 2 fast
    std::optional<DaytimeMode> daytime;
    std::optional<bool> flag_clock;
    std::optional<bool> flag_PlaySound;
    std::optional<bool> flag_fps;

    void ApplyTo(Settings& settings) const;
};
