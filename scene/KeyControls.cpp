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
    DDgamma1.SetEnabled(true);
    if (!DDgamma1.Enabled()) return;
    const int level = DDgamma1.GetRGB();
    if (key == '+' && level < 256) DDgamma1.SetRGB(level + 1);
    if (key == '-' && level > 0) DDgamma1.SetRGB(level - 1);
    DDgamma1.SetEnabled(false);
    Setting.Gamma = DDgamma1.GetRGB();
    WriteQuietly(SetReg1, "Gamma", Setting.Gamma);
}

void SceneForm::StepClockKey(WORD key) {
    const int margin = Setting.clockRad + kClockMargin;
    switch (key) {
    case VK_LEFT:
        if (Setting.clockX > margin) --Setting.clockX;
        break;
    case VK_RIGHT:
        if (Setting.clockX < Setting.ResHor - margin) ++Setting.clockX;
        break;
    case VK_UP:
        if (Setting.clockY > margin) --Setting.clockY;
        break;
    case VK_DOWN:
        if (Setting.clockY < Setting.ResVert - margin) ++Setting.clockY;
        break;
    default:
        return;
    }
    if (key == VK_LEFT || key == VK_RIGHT) {
        DXClock1.SetXcenter(Setting.clockX);
        WriteQuietly(SetReg1, "clockX", Setting.clockX);
    } else {
        DXClock1.SetYcenter(Setting.clockY);
        WriteQuietly(SetReg1, "clockY", Setting.clockY);
    }
}
