#include "scene/SceneForm.h"

#include "display/PictureLoading.h"
#include "platform/MMSystem.h"
#include "platform/User.h"

#include <algorithm>
#include <ctime>

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

SceneForm::SceneForm(TComponent* owner, SceneOptions options) : TForm(owner), FOptions(options) {
    Caption = "Corvane";
    DDmain1.OnError = [this](TObject* sender) { DDmain1Error(sender); };
    // The form's stored device size, portrait by an old slip; harmless, since
    // set-up replaces size and depth with the settings' mode before opening.
    DDmain1.SetWidth(600);
    DDmain1.SetHeight(800);
    DDmain1.SetColorDepth(32);
    DXClock1.DDmainModule = &DDmain1;
    // Orange (0x4080FF), the form's stored clock colour until set-up puts the
    // ColorClock setting in its place.
    DXClock1.SetColor(4227327);
    DDtimer1.SetInterval(50);
    DDtimer1.OnTimer = [this](TObject* sender) { DDtimer1Timer(sender); };
    DDtimer1.OnZasTime = [this](TObject* sender) { DDtimer1ZasTime(sender); };
    DDgamma1.DDmainModule = &DDmain1;
    for (Drawable* drawable : std::initializer_list<Drawable*>{
             &DDbmp1ground, &DDani1hightwater, &DDani1lowwater, &DDbmp1stone, &DDbmp1masktree, &DDani1bird,
             &DDani1birds_small, &DDani1Yaht, &dolphins[0], &dolphins[1]})
        drawable->DDmainModule = &DDmain1;
    OnKeyDown = [this](TObject* sender, WORD& key, TShiftState shift) { FormKeyDown(sender, key, shift); };
    OnKeyPress = [this](TObject* sender, char& key) { FormKeyPress(sender, key); };
    OnMouseMove = [this](TObject* sender, TShiftState shift, int x, int y) {
        FormMouseMove(sender, shift, x, y);
    };
    RunCreateHandler([this] { FormCreate(this); });
}

SceneForm::~SceneForm() {
    if (Application != nullptr && Application->MainForm == this) Application->OnIdle = nullptr;
    // A form destroyed without its ending (a host killing the loop, a test)
    // still gives back the display and every surface.
    if (!FClosed) CloseScene();
}

SceneGeometry SceneForm::Geometry() const {
    return {DDmain1.GetWidth(), DDmain1.GetHeight(), Setting.ResHor};
}

// Only ten seagull records exist; a hand-edited count beyond them is held to them.
int SceneForm::BirdCount() const { return std::clamp(Setting.NumBirds, 0, kBirdCount); }

void SceneForm::FormCreate(TObject*) {
    Application->OnIdle = [this](TObject* sender, bool& done) { AppIdle(sender, done); };

    FlipParity = false;
    TickCount = 0;
    WaterFrame = 0;
    for (Dolphin& dolphin : actors.dolphins) dolphin.DolphinFrame = -1;
    ResetYacht(actors.yacht);
    Setting = ScenePresets();

    LoadSettings(SetReg1, Setting, LoadVariant::Scene, Handle());
    FOptions.overrides.ApplyTo(Setting);

    const SunTimes sun =
        TodaysSunTimes(Setting.RegOfUTC, Setting.RegLat, Setting.RegLng, Setting.FlagDaylightSavingTime);
    Phases = MakePhaseBoundaries(sun.sunrise, sun.sunset);

    DDmain1.SetWidth(Setting.ResHor);
    DDmain1.SetHeight(Setting.ResVert);
    DDmain1.SetColorDepth(Setting.ColorDepth);
    DDmain1.SetEnabled(true);
    if (FClosed) return;
    DDmain1.ClearBackSurface();
    DDmain1.FlipSurfaces();
    if (FClosed) return;
    DDmain1.SetshowFPS(Setting.flag_fps);

    if (Setting.ShowRisSet) ShowSunTimeLines(sun);

    DDtimer1.SetInterval(TickPeriod(Setting.SetSpeed));

    DXClock1.SetXcenter(Setting.clockX);
    DXClock1.SetYcenter(Setting.clockY);
    DXClock1.SetRadius(Setting.clockRad);

    const std::uint32_t seed = FOptions.seed.value_or(std::uint32_t(std::time(nullptr)));
    FRandom.Seed(seed);
    BuildLayers();
    // Seeded again before the actors, as the saver always was: their start
    // then depends on the seed alone, never on what building the layers drew.
    FRandom.Seed(FOptions.seed.value_or(std::uint32_t(std::time(nullptr))));
    StartActors();

    ApplyStoredGamma();
    DXClock1.SetColor(COLORREF(Setting.ColorClock));
    SystemParametersInfoA(SPI_SETSCREENSAVERRUNNING, TRUE, nullptr, 0);
    if (!FOptions.manualTicks) DDtimer1.SetEnabled(true);
    if (Setting.flag_PlaySound) PlaySoundA("SoundName", nullptr, SND_RESOURCE | SND_ASYNC | SND_LOOP);
    ShowCursor(FALSE);

    if (Setting.FlagDemoDaytime) DayTime = 43200;
    if (Setting.FlagDaytime || Setting.FlagDemoDaytime) LightingUpdate();
}

void SceneForm::ShowSunTimeLines(const SunTimes& sun) {
    DDmain1.ShowTextLine(1, true);
    DDmain1.ShowTextLine(2, true);
    DDmain1.SetTextLine(1, "Sunrise at: " + FormatHours(sun.sunrise));
    DDmain1.SetTextLine(2, "Sunset at: " + FormatHours(sun.sunset));
}

void SceneForm::BuildLayers() {
    const int W = DDmain1.GetWidth();
    const int H = DDmain1.GetHeight();
    auto build = [&](auto& drawable, const char* jpeg, int frameHeight, Layer layer, bool keyed,
                     bool placed) {
        if (jpeg != nullptr) LoadJpegResource(jpeg, drawable);
        if (frameHeight != 0) drawable.SetYOffsetFrame(frameHeight);
        drawable.SetStretching(true);
        drawable.SetStretchWidth(layer.width);
        drawable.SetStretchHeight(layer.height);
        drawable.CreateSurface();
        if (keyed) drawable.SetTransparency(true);
        if (placed) {
            drawable.SetShowX(layer.x);
            drawable.SetShowY(layer.y);
        }
    };
    auto picture = [](Drawable& drawable, const char* resource) {
        if (const auto bitmap = platform::LoadBitmapResource(resource)) drawable.SetBitmap(&*bitmap);
    };
    picture(DDbmp1stone, "stone");
    picture(DDbmp1masktree, "masktree");
    picture(DDani1bird, "bird");
    picture(DDani1birds_small, "birds_small");
    picture(DDani1Yaht, "yacht");
    for (AnimationStrip& strip : dolphins) picture(strip, "dolphin");

    build(DDbmp1ground, "ground", 0, {W, H * 408 / 600, 0, 0}, false, true);
    build(DDani1hightwater, "hightwater", 92, {W, H * 92 / 600, 0, H * 394 / 600}, false, true);
    build(DDani1lowwater, "lowwater", 115, {W * 611 / 800, H * 115 / 600, W * 189 / 800, H * 485 / 600},
          false, true);
    build(DDbmp1stone, nullptr, 0, {W, H * 245 / 600, 0, H * 356 / 600}, true, true);
    build(DDbmp1masktree, nullptr, 0, {W * 41 / 800, H * 165 / 600, W * 29 / 800, H * 192 / 600}, true, true);
    build(DDani1bird, nullptr, 11, {18, 6, 0, 0}, true, false);
    build(DDani1birds_small, nullptr, 11, {15, 5, 0, 0}, true, false);
    build(DDani1Yaht, nullptr, 31, {W * 31 / 800, H * 31 / 600, W * 600 / 800, H * 360 / 600}, true, true);
    const Layer dolphin{W * 44 / 800, H * 20 / 600, W * 400 / 800, H * 390 / 600};
    for (AnimationStrip& strip : dolphins) build(strip, nullptr, 39, dolphin, true, true);
}

void SceneForm::StartActors() {
    StartBirds(actors.gulls, Geometry());
    for (Dolphin& dolphin : actors.dolphins) StartDolphin(dolphin, FRandom);
    StartYacht(actors.yacht, FRandom);
    actors.yacht.ShowX = DDani1Yaht.GetShowX();
    actors.yacht.ShowY = DDani1Yaht.GetShowY();
    for (std::size_t i = 0; i < dolphins.size(); ++i) {
        actors.dolphins[i].ShowX = dolphins[i].GetShowX();
        actors.dolphins[i].ShowY = dolphins[i].GetShowY();
    }
}

void SceneForm::ApplyStoredGamma() {
    DDgamma1.SetEnabled(true);
    if (!DDgamma1.Enabled()) return;
    DDgamma1.SetRGB(Setting.Gamma);
    DDgamma1.SetEnabled(false);
}

void SceneForm::CloseScene() {
    DDtimer1.SetEnabled(false);
    DDbmp1ground.CloseSurface();
    DDani1hightwater.CloseSurface();
    DDani1lowwater.CloseSurface();
    DDbmp1stone.CloseSurface();
    DDbmp1masktree.CloseSurface();
    DDani1bird.CloseSurface();
    DDani1birds_small.CloseSurface();
    DDani1Yaht.CloseSurface();
    for (AnimationStrip& strip : dolphins) strip.CloseSurface();
    DDmain1.SetEnabled(false);
}

void SceneForm::DDmain1Error(TObject*) {
    // Whatever set-up or drawing still touches the closed device reports
    // again; the user is told once.
    if (FClosed) return;
    FClosed = true;
    Application->OnIdle = nullptr;
    CloseScene();
    SetBorderStyle(TBorderStyle::bsSizeable);
    MessageBoxA(Handle(), DDmain1.GetErrorResult().c_str(), "ERROR", MB_OK);
    Close();
}
