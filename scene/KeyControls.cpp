#include "scene/SceneForm.h"
#include "settings/ClockPlacement.h"

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
    const int margin = settings.clockRad + kClockMargin;
    switch (key) {
    case VK_LEFT:
        if (settings.clockX > margin) --settings.clockX;
        break;
    case VK_RIGHT:
        if (settings.clockX < settings.ResHor - margin) ++settings.clockX;
        break;
    case VK_UP:
        if (settings.clockY > margin) --settings.clockY;
        break;
    case VK_DOWN:
        if (settings.clockY < settings.ResVert - margin) ++settings.clockY;
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
