#include "scene/SceneForm.h"
#include "settings/ClockPlacement.h"

#include <cstdint>

namespace {

// A lost write shows nowhere: the next start simply finds the old value.
template <class Value>
void WriteQuietly(SettingsStore& store, const char* name, Value value) {
    try {
        store.Write(name, value);
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
    settings.Gamma = gamma.Level();
    WriteQuietly(store, "Gamma", settings.Gamma);
}

void SceneForm::StepClockKey(WORD key) {
    // The radius the clock has (held to what a screen can show, never
    // negative), and 64 bits: hand-edited values near the ends of the
    // integers neither overflow nor let the clock walk off the screen.
    const std::int64_t margin = std::int64_t(clock.Radius()) + kClockMargin;
    const std::int64_t right = std::int64_t(settings.ResHor) - margin;
    const std::int64_t bottom = std::int64_t(settings.ResVert) - margin;
    switch (key) {
    case VK_LEFT:
        if (settings.clockX > margin) --settings.clockX;
        break;
    case VK_RIGHT:
        if (settings.clockX < right) ++settings.clockX;
        break;
    case VK_UP:
        if (settings.clockY > margin) --settings.clockY;
        break;
    case VK_DOWN:
        if (settings.clockY < bottom) ++settings.clockY;
        break;
    default:
        return;
    }
    if (key == VK_LEFT || key == VK_RIGHT) {
        clock.SetCenterX(settings.clockX);
        WriteQuietly(store, "clockX", settings.clockX);
    } else {
        clock.SetCenterY(settings.clockY);
        WriteQuietly(store, "clockY", settings.clockY);
    }
}
