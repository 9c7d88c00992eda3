#include "settings/SettingOverrides.h"

void SettingOverrides::ApplyTo(Settings& settings) const {
    if (NumBirds) settings.NumBirds = *NumBirds;
    if (SetSpeed) settings.SetSpeed = *SetSpeed;
    if (daytime) {
        settings.FlagDaytime = *daytime == DaytimeMode::Real;
        settings.FlagDemoDaytime = *daytime == DaytimeMode::Demo;
    }
    if (flag_clock) settings.flag_clock = *flag_clock;
    if (flag_PlaySound) settings.flag_PlaySound = *flag_PlaySound;
    if (flag_fps) settings.flag_fps = *flag_fps;
}
