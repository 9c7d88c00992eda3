// TForm1: the scene form. Builds the island scene at creation, draws it in
// the application's idle time, moves it on the frame timer's ticks, reacts
// to keys and the mouse, and ends the saver.
#pragma once

#include "display/Ddani.h"
#include "display/Ddbmp.h"
#include "display/Ddgamma.h"
#include "display/Ddmain.h"
#include "display/Ddtimer.h"
#include "display/Dxclock.h"
#include "platform/Forms.h"
#include "scene/Actors.h"
#include "scene/Lighting.h"
#include "scene/Random.h"
#include "scene/Shared.h"
#include "settings/Setreg.h"
#include "settings/SettingOverrides.h"
#include "settings/Settings.h"
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

class TForm1 : public TForm {
public:
    explicit TForm1(TComponent* owner, SceneOptions options = {});
    ~TForm1() override;

    // Stored components.
    TDDmain DDmain1{this};
    TDXClock DXClock1{this};
    TDDtimer DDtimer1{this};
    TDDgamma DDgamma1{this};
    TSetReg SetReg1 = SaverSettingsStore(this);
    TDDbmp DDbmp1ground{this};
    TDDani DDani1hightwater{this};
    TDDani DDani1lowwater{this};
    TDDbmp DDbmp1stone{this};
    TDDbmp DDbmp1masktree{this};
    TDDani DDani1bird{this};
    TDDani DDani1birds_small{this};
    TDDani DDani1Yaht{this};
    std::array<TDDani, 2> dolphins{{TDDani{this}, TDDani{this}}};

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

    TPhaseBoundaries Phases{};
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
    TRandom FRandom;
    // Once closed, by the ending or by a display error, the scene takes no
    // input and reports nothing more.
    bool FClosed = false;
};
