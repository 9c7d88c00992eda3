// The scene form: builds the island scene at creation, draws it in
// the application's idle time, moves it on the frame timer's ticks, reacts
// to keys and the mouse, and ends the saver.
#pragma once

#include "display/AnimationStrip.h"
#include "display/ClockOverlay.h"
#include "display/DisplayDevice.h"
#include "display/FrameTimer.h"
#include "display/GammaRamp.h"
#include "display/Sprite.h"
#include "platform/Forms.h"
#include "scene/Actors.h"
#include "scene/Lighting.h"
#include "scene/Random.h"
#include "scene/Shared.h"
#include "settings/SettingOverrides.h"
#include "settings/Settings.h"
#include "settings/SettingsStore.h"
#include "solar/SunTime.h"

#include <array>
#include <cstdint>
#include <optional>

// How a scene is driven besides the real clock: snapshots and tests seed the
// generator themselves and deliver ticks without the timer thread.
struct SceneOptions {
    std::optional<std::uint32_t> seed;
    bool manualTicks = false;
    SettingOverrides overrides;
};

class SceneForm : public TForm {
public:
    explicit SceneForm(TComponent* owner, SceneOptions options = {});
    ~SceneForm() override;

    // Stored components.
    DisplayDevice DDmain1{this};
    ClockOverlay DXClock1{this};
    FrameTimer DDtimer1{this};
    GammaRamp DDgamma1{this};
    SettingsStore SetReg1 = SaverSettingsStore(this);
    Sprite DDbmp1ground{this};
    AnimationStrip DDani1hightwater{this};
    AnimationStrip DDani1lowwater{this};
    Sprite DDbmp1stone{this};
    Sprite DDbmp1masktree{this};
    AnimationStrip DDani1bird{this};
    AnimationStrip DDani1birds_small{this};
    AnimationStrip DDani1Yaht{this};
    std::array<AnimationStrip, 2> dolphins{{AnimationStrip{this}, AnimationStrip{this}}};

    // Event handlers.
    void FormCreate(TObject* Sender);
    void AppIdle(TObject* Sender, bool& Done);
    void DDtimer1Timer(TObject* Sender);
    void DDtimer1ZasTime(TObject* Sender);
    void DDmain1Error(TObject* Sender);
    void FormKeyDown(TObject* Sender, WORD& Key, TShiftState Shift);
    void FormKeyPress(TObject* Sender, char& Key);
    void FormMouseMove(TObject* Sender, TShiftState Shift, int X, int Y);

    void CloseScene();
    void TryExit();
    bool VerifyPassword(HWND window);
    void CloseSaver();
    void LightingUpdate();

    // The settings as loaded at creation.
    Settings Setting;

    // Loop state shared by the render pass and the update pass.
    SharedBool FlipParity{false};
    SharedInt TickCount{0};
    SharedInt WaterFrame{0};
    SharedInt DayTime{0};

    SceneActors actors;

    DayPhases Phases{};
    // The lighting's levels last computed (red, green, blue).
    SharedInt CurrentRed{256};
    SharedInt CurrentGreen{256};
    SharedInt CurrentBlue{256};

    bool ExitBusy = false;
    // Once true, the scene takes no input and draws nothing more.
    bool Closed() const { return FClosed; }

    // The last pointer position reported; 0 in either coordinate means no
    // position yet. The saver has one scene, so this is the program's one
    // pair: it is never reset.
    struct PointerPosition {
        int x = 0;
        int y = 0;
    };
    PointerPosition lastMouse;

private:
    SceneGeometry Geometry() const;
    int BirdCount() const;
    void BuildLayers();
    void StartActors();
    void ApplyStoredGamma();
    void ShowSunTimeLines(const SunTimes& sun);
    void StepGammaKey(char key);
    void StepClockKey(WORD key);
    void DrawBird(int index);

    SceneOptions FOptions;
    RandomGenerator FRandom;
    // Once closed, by the ending or by a display error, the scene takes no
    // input and reports nothing more.
    bool FClosed = false;
};
