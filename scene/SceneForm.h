// SceneForm: the scene form. Builds the island scene at creation, draws it in
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

#include <cstdint>
#include <optional>

// How a scene is driven besides the real clock: snapshots and tests seed the
// generator themselves and deliver ticks without the timer thread.
struct SceneOptions {
    std::optional<std::uint32_t> seed;
    bool manualTicks = false;
    SettingOverrides overrides;
};

struct ScenePictures;

class SceneForm : public TForm {
public:
    explicit SceneForm(TComponent* owner, SceneOptions options = {});
    ~SceneForm() override;

    // Stored components.
    DisplayDevice display{this};
    ClockOverlay clock{this};
    FrameTimer frameTimer{this};
    GammaRamp gamma{this};
    SettingsStore store{this};
    Sprite ground{this};
    AnimationStrip highWater{this};
    AnimationStrip lowWater{this};
    Sprite stones{this};
    Sprite palmMask{this};
    AnimationStrip nearGulls{this};
    AnimationStrip farGulls{this};
    AnimationStrip yacht{this};
    AnimationStrip DDani1Dlp{this};
    AnimationStrip DDani1Dlp2{this};

    // Event handlers.
    void SetUpScene(TObject* Sender);
    void RenderPass(TObject* Sender, bool& Done);
    void UpdatePass(TObject* Sender);
    void OnTimerStall(TObject* Sender);
    void OnDisplayError(TObject* Sender);
    void KeyDown(TObject* Sender, WORD& Key, TShiftState Shift);
    void KeyPress(TObject* Sender, char& Key);
    void MouseMove(TObject* Sender, TShiftState Shift, int X, int Y);

    void CloseScene();
    void TryExit();
    bool VerifyPassword(HWND window);
    void CloseSaver();
    void UpdateLighting();

    // The settings as loaded at creation.
    Settings settings;

    // Loop state shared by the render pass and the update pass.
    SharedBool flipParity{false};
    SharedInt tickCount{0};
    SharedInt waterFrame{0};
    SharedInt dayTime{0};

    Gulls Birds;
    Dolphin Dolphin1;
    Dolphin Dolphin2;
    ::Yacht Yacht;

    DayPhases phases{};
    // The lighting's levels last computed (red, green, blue).
    SharedInt currentRed{256};
    SharedInt currentGreen{256};
    SharedInt currentBlue{256};

    bool exitBusy = false;
    // Whether the creation built the whole scene; a settings or display
    // error leaves it half-built, with nothing worth a tick.
    bool Built() const { return FBuilt; }
    // Once true, the scene takes no input and draws nothing more.
    bool Closed() const { return closed_; }

    // The last pointer position reported, one pair for the whole program;
    // 0 means no position yet.
    static inline int LastMouseX = 0;
    static inline int LastMouseY = 0;

private:
    SceneGeometry Geometry() const;
    int GullCount() const;
    void BuildLayers(ScenePictures& pictures);
    void StartActors();
    void ApplyStoredGamma();
    void ShowSunTimeLines(float sunriseHours, float sunsetHours);
    void StepGammaKey(char key);
    void StepClockKey(WORD key);
    void DrawGull(int index);
    // Nothing while the pose has no frame.
    void DrawPose(const ActorPose& pose, AnimationStrip& strip);

    SceneOptions options_;
    RandomGenerator random_;
    // Once closed, by the ending or by a display error, the scene takes no
    // input and reports nothing more.
    bool closed_ = false;
    bool FBuilt = false;
};
