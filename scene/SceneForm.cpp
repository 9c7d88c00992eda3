#include "scene/SceneForm.h"

#include "display/PictureLoading.h"
#include "platform/winapi/MMSystem.h"
#include "platform/winapi/User.h"

#include <algorithm>
#include <ctime>
#include <utility>

namespace {

// The tick period of each speed setting; any other value runs at Normal.
int TickPeriod(int speed) {
    switch (speed) {
    case 0:
        return 60;
    case 2:
        return 40;
    default:
        return 50;
    }
}

// A drawable's size and place, laid out for an 800 x 600 screen.
struct Layer {
    int width, height, x, y;
};

}  // namespace

// The scene's JPEG pictures, the longest work of the set-up: they decode side
// by side while the settings load and the display opens.
struct ScenePictures {
    PendingJpeg ground{"ground"};
    PendingJpeg highWater{"hightwater"};
    PendingJpeg lowWater{"lowwater"};
};

SceneForm::SceneForm(TComponent* owner, SceneOptions options) : TForm(owner), options_(options) {
    Caption = "Corvane";
    display.OnError = [this](TObject* sender) { OnDisplayError(sender); };
    // The form's stored device size, portrait by an old slip; harmless, since
    // set-up replaces size and depth with the settings' mode before opening.
    display.SetWidth(600);
    display.SetHeight(800);
    display.SetColorDepth(32);
    clock.device = &display;
    // Orange (0x4080FF), the form's stored clock colour until set-up puts the
    // ColorClock setting in its place.
    clock.SetColor(4227327);
    frameTimer.SetInterval(50);
    frameTimer.OnTimer = [this](TObject* sender) { UpdatePass(sender); };
    frameTimer.OnStall = [this](TObject* sender) { OnTimerStall(sender); };
    gamma.device = &display;
    for (Drawable* drawable :
         std::initializer_list<Drawable*>{&ground, &highWater, &lowWater, &stones, &palmMask, &nearGulls,
                                          &farGulls, &yacht, &dolphins[0], &dolphins[1]})
        drawable->device = &display;
    OnKeyDown = [this](TObject* sender, WORD& key, TShiftState shift) { KeyDown(sender, key, shift); };
    OnKeyPress = [this](TObject* sender, char& key) { KeyPress(sender, key); };
    OnMouseMove = [this](TObject* sender, TShiftState shift, int x, int y) {
        MouseMove(sender, shift, x, y);
    };
    OnEndFromOutside = [this](TObject*) { EndFromOutside(); };
    RunCreateHandler([this] { SetUpScene(this); });
    if (!built_ && !closed_) EndAfterShownError();
}

SceneForm::~SceneForm() {
    if (Application != nullptr && Application->MainForm == this) Application->OnIdle = nullptr;
    // A form destroyed without its ending (a host killing the loop, a test)
    // still gives back the display and every surface.
    if (!closed_) CloseScene();
}

SceneGeometry SceneForm::Geometry() const { return {display.Width(), display.Height(), settings.ResHor}; }

// Only ten seagull records exist; a hand-edited count beyond them is held to them.
int SceneForm::GullCount() const { return std::clamp(settings.NumBirds, 0, kGullCount); }

void SceneForm::SetUpScene(TObject*) {
    ScenePictures pictures;
    Application->OnIdle = [this](TObject* sender, bool& done) { RenderPass(sender, done); };

    flipParity = false;
    tickCount = 0;
    waterFrame = 0;
    for (Dolphin& dolphin : actors.dolphins) dolphin.frame = -1;
    ResetYacht(actors.yacht);
    settings = ScenePresets();

    LoadSettings(store, settings, LoadVariant::Scene, Handle());
    options_.overrides.ApplyTo(settings);

    const SunTimes sun =
        TodaysSunTimes(settings.RegOfUTC, settings.RegLat, settings.RegLng, settings.FlagDaylightSavingTime);
    phases = MakeDayPhases(sun.sunrise, sun.sunset);

    display.SetWidth(settings.ResHor);
    display.SetHeight(settings.ResVert);
    display.SetColorDepth(settings.ColorDepth);
    display.SetEnabled(true);
    if (closed_) return;
    display.ClearBackSurface();
    display.FlipSurfaces();
    if (closed_) return;
    display.SetShowFrameRate(settings.flag_fps);

    if (settings.ShowRisSet) ShowSunTimeLines(sun);

    frameTimer.SetInterval(TickPeriod(settings.SetSpeed));

    clock.SetCenterX(settings.clockX);
    clock.SetCenterY(settings.clockY);
    clock.SetRadius(settings.clockRad);

    const std::uint32_t seed = options_.seed.value_or(std::uint32_t(std::time(nullptr)));
    random_.Seed(seed);
    BuildLayers(pictures);
    // Seeded again before the actors, as the saver always was: their start
    // then depends on the seed alone, never on what building the layers drew.
    random_.Seed(options_.seed.value_or(std::uint32_t(std::time(nullptr))));
    StartActors();

    ApplyStoredGamma();
    clock.SetColor(COLORREF(settings.ColorClock));
    SystemParametersInfoA(SPI_SETSCREENSAVERRUNNING, TRUE, nullptr, 0);
    if (!options_.manualTicks) frameTimer.SetEnabled(true);
    if (settings.flag_PlaySound) PlaySoundA("SoundName", nullptr, SND_RESOURCE | SND_ASYNC | SND_LOOP);
    ShowCursor(FALSE);

    if (settings.FlagDemoDaytime) dayTime = 43200;
    if (settings.FlagDaytime || settings.FlagDemoDaytime) UpdateLighting();
    built_ = true;
}

void SceneForm::ShowSunTimeLines(const SunTimes& sun) {
    display.ShowTextLine(1, true);
    display.ShowTextLine(2, true);
    display.SetTextLine(1, "Sunrise at: " + SunTimeText(sun.sunrise, sun.sunrisePolar));
    display.SetTextLine(2, "Sunset at: " + SunTimeText(sun.sunset, sun.sunsetPolar));
}

void SceneForm::BuildLayers(ScenePictures& pictures) {
    const int W = display.Width();
    const int H = display.Height();
    auto build = [&](auto& drawable, PendingJpeg* jpeg, int frameHeight, Layer layer, bool keyed,
                     bool placed) {
        if (jpeg != nullptr) jpeg->LoadInto(drawable);
        if (frameHeight != 0) drawable.SetBandHeight(frameHeight);
        drawable.SetStretching(true);
        drawable.SetStretchWidth(layer.width);
        drawable.SetStretchHeight(layer.height);
        drawable.CreateSurface();
        if (keyed) drawable.SetTransparency(true);
        if (placed) {
            drawable.SetX(layer.x);
            drawable.SetY(layer.y);
        }
        // Every frame is in its surface at its final size: the picture is
        // not needed again, and the largest are tens of megabytes.
        drawable.SetBitmap(TBitmap());
    };
    auto picture = [](Drawable& drawable, const char* resource) {
        if (auto bitmap = platform::LoadBitmapResource(resource)) drawable.SetBitmap(std::move(*bitmap));
    };
    picture(stones, "stone");
    picture(palmMask, "masktree");
    picture(nearGulls, "bird");
    picture(farGulls, "birds_small");
    picture(yacht, "yacht");
    for (AnimationStrip& strip : dolphins) picture(strip, "dolphin");

    build(ground, &pictures.ground, 0, {W, H * 408 / 600, 0, 0}, false, true);
    build(highWater, &pictures.highWater, 92, {W, H * 92 / 600, 0, H * 394 / 600}, false, true);
    build(lowWater, &pictures.lowWater, 115, {W * 611 / 800, H * 115 / 600, W * 189 / 800, H * 485 / 600},
          false, true);
    build(stones, nullptr, 0, {W, H * 245 / 600, 0, H * 356 / 600}, true, true);
    build(palmMask, nullptr, 0, {W * 41 / 800, H * 165 / 600, W * 29 / 800, H * 192 / 600}, true, true);
    build(nearGulls, nullptr, 11, {18, 6, 0, 0}, true, false);
    build(farGulls, nullptr, 11, {15, 5, 0, 0}, true, false);
    build(yacht, nullptr, 31, {W * 31 / 800, H * 31 / 600, W * 600 / 800, H * 360 / 600}, true, true);
    const Layer dolphin{W * 44 / 800, H * 20 / 600, W * 400 / 800, H * 390 / 600};
    for (AnimationStrip& strip : dolphins) build(strip, nullptr, 39, dolphin, true, true);
}

void SceneForm::StartActors() {
    StartGulls(actors.gulls, Geometry());
    for (Dolphin& dolphin : actors.dolphins) StartDolphin(dolphin, random_);
    StartYacht(actors.yacht, random_);
    actors.yacht.x = yacht.X();
    actors.yacht.y = yacht.Y();
    for (std::size_t i = 0; i < dolphins.size(); ++i) {
        actors.dolphins[i].x = dolphins[i].X();
        actors.dolphins[i].y = dolphins[i].Y();
    }
}

void SceneForm::ApplyStoredGamma() {
    gamma.SetEnabled(true);
    if (!gamma.Enabled()) return;
    gamma.SetLevel(settings.Gamma);
    gamma.SetEnabled(false);
}

void SceneForm::CloseScene() {
    frameTimer.SetEnabled(false);
    // The device puts the screen's own ramp back as it closes; no control of
    // the lighting may write over it afterwards.
    gamma.SetEnabled(false);
    ground.CloseSurface();
    highWater.CloseSurface();
    lowWater.CloseSurface();
    stones.CloseSurface();
    palmMask.CloseSurface();
    nearGulls.CloseSurface();
    farGulls.CloseSurface();
    yacht.CloseSurface();
    for (AnimationStrip& strip : dolphins) strip.CloseSurface();
    display.SetEnabled(false);
}

void SceneForm::EndAfterShownError() {
    // The error that stopped the creation has been shown; the display it
    // never opened has nothing to add.
    closed_ = true;
    Application->OnIdle = nullptr;
    CloseScene();
    Close();
}

void SceneForm::OnDisplayError(TObject*) {
    // Whatever set-up or drawing still touches the closed device reports
    // again; the user is told once.
    if (closed_) return;
    EndScene();
    MessageBoxA(Handle(), display.ErrorText().c_str(), "ERROR", MB_OK);
    Close();
}
