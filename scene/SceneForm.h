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
#include "platform/forms/Forms.h"
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

struct ScenePictures;

class SceneForm : public TForm {
public:
    explicit SceneForm(TComponent* owner, SceneOptions options = {});
    ~SceneForm() override;

    // The components the scene owns for its whole run.
    DisplayDevice display{this};
    ClockOverlay clock{this};
    FrameTimer frameTimer{this};
    GammaRamp gamma{this};
    SettingsStore store = SaverSettingsStore(this);
    Sprite ground{this};
    AnimationStrip highWater{this};
    AnimationStrip lowWater{this};
    Sprite stones{this};
    Sprite palmMask{this};
    AnimationStrip nearGulls{this};
    AnimationStrip farGulls{this};
    AnimationStrip yacht{this};
    std::array<AnimationStrip, 2> dolphins{{AnimationStrip{this}, AnimationStrip{this}}};

    // Event handlers.
    void SetUpScene(TObject* Sender);
    void RenderPass(TObject* Sender, bool& Done);
    void UpdatePass(TObject* Sender);
    void OnTimerStall(TObject* Sender);
    // Closed by another program, the session ending, the screen taken away:
    // the closing of a key, without a password check.
    void EndFromOutside();
    void OnDisplayError(TObject* Sender);
    void KeyDown(TObject* Sender, WORD& Key, TShiftState Shift);
    void KeyPress(TObject* Sender, char& Key);
    void MouseMove(TObject* Sender, TShiftState Shift, int X, int Y);

    void CloseScene();
    void TryExit();
    bool VerifyPassword(HWND window);
    void CloseSaver();
    // What every ending does before the form goes: no more frames, the scene
    // closed, the sound stopped, the system told that no saver runs.
    void EndScene();
    void UpdateLighting();

    // The settings as loaded at creation.
    Settings settings;

    // Loop state shared by the render pass and the update pass.
    SharedBool flipParity{false};
    SharedInt tickCount{0};
    SharedInt waterFrame{0};
    SharedInt dayTime{0};

    SceneActors actors;

    DayPhases phases{};
    // The lighting's levels last computed (red, green, blue).
    SharedInt currentRed{256};
    SharedInt currentGreen{256};
    SharedInt currentBlue{256};

    bool exitBusy = false;
    // Whether the creation built the whole scene; a settings or display
    // error leaves it half-built, with nothing worth a tick.
    bool Built() const { return built_; }
    // Once true, the scene takes no input and draws nothing more.
    bool Closed() const { return closed_; }

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
    int GullCount() const;
    void BuildLayers(ScenePictures& pictures);
    void StartActors();
    void ApplyStoredGamma();
    // Ends a scene whose creation stopped on an error already shown.
    void EndAfterShownError();
    void ShowSunTimeLines(const SunTimes& sun);
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
    bool built_ = false;
};
