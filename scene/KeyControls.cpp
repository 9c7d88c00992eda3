#include "scene/SceneForm.h"
#include "settings/ClockPlacement.h"

#include <cstdint>

namespace {

// A lost write shows nowhere: the next start simply finds the old value.
void WriteQuietly(SettingsStore& store, const Settings& settings, SettingField field) {
    try {
        WriteSetting(store, settings, field);
    } catch (const SettingsStoreError&) {
    }
}

}  // namespace

void SceneForm::StepGammaKey(char key) {
    gamma.SetEnabled(true);
    if (!gamma.Enabled()) return;
    const int level = gamma.Level();
    if (key == '+' && level < 256) gamma.SetLevel(level + 1);
    if (key == '-' && level > 0) gamma.SetLevel(level - 1);
    gamma.SetEnabled(false);
    settings.gammaLevel = gamma.Level();
    WriteQuietly(store, settings, &Settings::gammaLevel);
}

void SceneForm::StepClockKey(WORD key) {
    // The radius the clock has (held to what a screen can show, never
    // negative), and 64 bits: hand-edited values near the ends of the
    // integers neither overflow nor let the clock walk off the screen.
    const std::int64_t margin = std::int64_t(clock.Radius()) + kClockMargin;
    const std::int64_t right = std::int64_t(settings.width) - margin;
    const std::int64_t bottom = std::int64_t(settings.height) - margin;
    switch (key) {
    case VK_LEFT:
        if (settings.clockCentreX > margin) --settings.clockCentreX;
        break;
    case VK_RIGHT:
        if (settings.clockCentreX < right) ++settings.clockCentreX;
        break;
    case VK_UP:
        if (settings.clockCentreY > margin) --settings.clockCentreY;
        break;
    case VK_DOWN:
        if (settings.clockCentreY < bottom) ++settings.clockCentreY;
        break;
    default:
        return;
    }
    if (key == VK_LEFT || key == VK_RIGHT) {
        clock.SetCenterX(settings.clockCentreX);
        WriteQuietly(store, settings, &Settings::clockCentreX);
    } else {
        clock.SetCenterY(settings.clockCentreY);
        WriteQuietly(store, settings, &Settings::clockCentreY);
    }
}
