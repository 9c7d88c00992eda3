#include "settings/SettingOverrides.h"

void SettingOverrides::ApplyTo(Settings& settings) const {
    if (gullCount) settings.gullCount = *gullCount;
    if (speed) settings.speed = *speed;
    if (daytime) {
        settings.realDaylight = *daytime == DaytimeMode::Real;
        settings.demoDay = *daytime == DaytimeMode::Demo;
    }
    if (showClock) settings.showClock = *showClock;
    if (playSound) settings.playSound = *playSound;
    if (showFrameRate) settings.showFrameRate = *showFrameRate;
}
