#include "scene/SceneForm.h"

#include "display/PictureLoading.h"
#include "platform/winapi/MMSystem.h"
#include "platform/winapi/User.h"

#include <algorithm>
#include <ctime>
#include <optional>
#include <utility>
#include <variant>

namespace {

// The tick period of each speed setting; any other value runs at Normal.
int TickPeriod(Speed speed) {
    switch (speed) {
    case Speed::Slow:
        return 60;
    case Speed::Fast:
        return 40;
    default:
        return 50;
    }
}

// The scene is laid out for an 800 x 600 screen. On any other mode a layer's
// size and place scale by W/800 and H/600, in integers, truncating.
constexpr int kLayoutWidth = 800;
constexpr int kLayoutHeight = 600;

struct Size {
    int width, height;
};
struct Point {
    int x, y;
};

// The seagulls keep their pixel size on every mode.
enum class Scaling { WithScreen, None };
// Keyed layers show nothing where their picture has its top-left colour.
enum class Keying { Opaque, TopLeftColour };

// How a layer is built, in 800 x 600 units.
struct LayerPlan {
    int frameHeight = 0;           // a strip's frame height in its picture; 0 for a sprite
    Size size{};                   // drawn size, the picture scaled to it
    std::optional<Point> place{};  // none: placed actor by actor as it is drawn
    Scaling scaling = Scaling::WithScreen;
    Keying keying = Keying::Opaque;
};

// The layers, in the order they are built. At 800 x 600 each is drawn at its picture's or
// frame's size, but for the palm's mask, a pixel larger each way than its
// picture, and the dolphins, at half their frame's size.
constexpr LayerPlan kGroundPlan{.size = {800, 408}, .place = Point{0, 0}};
constexpr LayerPlan kHighWaterPlan{.frameHeight = 92, .size = {800, 92}, .place = Point{0, 394}};
constexpr LayerPlan kLowWaterPlan{.frameHeight = 115, .size = {611, 115}, .place = Point{189, 485}};
constexpr LayerPlan kStonesPlan{.size = {800, 245}, .place = Point{0, 356}, .keying = Keying::TopLeftColour};
constexpr LayerPlan kPalmMaskPlan{
    .size = {41, 165}, .place = Point{29, 192}, .keying = Keying::TopLeftColour};
constexpr LayerPlan kNearGullsPlan{
    .frameHeight = 11, .size = {18, 6}, .scaling = Scaling::None, .keying = Keying::TopLeftColour};
constexpr LayerPlan kFarGullsPlan{
    .frameHeight = 11, .size = {15, 5}, .scaling = Scaling::None, .keying = Keying::TopLeftColour};
constexpr LayerPlan kYachtPlan{
    .frameHeight = 31, .size = {31, 31}, .place = Point{600, 360}, .keying = Keying::TopLeftColour};
constexpr LayerPlan kDolphinPlan{
    .frameHeight = 39, .size = {44, 20}, .place = Point{400, 390}, .keying = Keying::TopLeftColour};

// A length of the 800 x 600 layout on a screen `screenLength` pixels long
// where the layout is `layoutLength`.
int Scaled(int units, int layoutLength, int screenLength) { return screenLength * units / layoutLength; }

// The picture a layer starts from: a JPEG decoding meanwhile, or a stored
// bitmap resource by name.
using LayerPicture = std::variant<PendingJpeg*, const char*>;

template <class Layer>
void BuildLayer(Layer& drawable, const LayerPicture& picture, const LayerPlan& plan, Size screen) {
    if (PendingJpeg* const* jpeg = std::get_if<PendingJpeg*>(&picture)) {
        (*jpeg)->LoadInto(drawable);
    } else if (auto bitmap = platform::LoadBitmapResource(std::get<const char*>(picture))) {
        drawable.SetBitmap(std::move(*bitmap));
    }
    auto width = [&](int units) {
        return plan.scaling == Scaling::WithScreen ? Scaled(units, kLayoutWidth, screen.width) : units;
    };
    auto height = [&](int units) {
        return plan.scaling == Scaling::WithScreen ? Scaled(units, kLayoutHeight, screen.height) : units;
    };
    if (plan.frameHeight != 0) drawable.SetBandHeight(plan.frameHeight);
    drawable.SetStretching(true);
    drawable.SetStretchWidth(width(plan.size.width));
    drawable.SetStretchHeight(height(plan.size.height));
    drawable.CreateSurface();
    // The key is read from the surface, so it can only be set once it exists.
    if (plan.keying == Keying::TopLeftColour) drawable.SetTransparency(true);
    if (plan.place) {
        drawable.SetX(width(plan.place->x));
        drawable.SetY(height(plan.place->y));
    }
    // Every frame is in its surface at its final size: the picture is not
    // needed again, and the largest are tens of megabytes.
    drawable.SetBitmap(TBitmap());
}

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
    // clock colour setting in its place.
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

SceneGeometry SceneForm::Geometry() const { return {display.Width(), display.Height()}; }

// Only ten seagull records exist; a hand-edited count beyond them is held to them.
int SceneForm::GullCount() const { return std::clamp(settings.gullCount, 0, kGullCount); }

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

    const SunTimes sun = TodaysSunTimes(settings.utcOffsetHours, settings.latitude, settings.longitude,
                                        settings.daylightSaving);
    phases = MakeDayPhases(sun.sunrise, sun.sunset);

    display.SetWidth(settings.width);
    display.SetHeight(settings.height);
    display.SetColorDepth(settings.bitsPerPixel);
    display.SetEnabled(true);
    if (closed_) return;
    display.ClearBackSurface();
    display.FlipSurfaces();
    if (closed_) return;
    display.SetShowFrameRate(settings.showFrameRate);

    if (settings.showSunTimes) ShowSunTimeLines(sun);

    frameTimer.SetInterval(TickPeriod(settings.speed));

    clock.SetCenterX(settings.clockCentreX);
    clock.SetCenterY(settings.clockCentreY);
    clock.SetRadius(settings.clockRadius);

    const std::uint32_t seed = options_.seed.value_or(std::uint32_t(std::time(nullptr)));
    random_.Seed(seed);
    BuildLayers(pictures);
    // Seeded again before the actors, as the saver always was: their start
    // then depends on the seed alone, never on what building the layers drew.
    random_.Seed(options_.seed.value_or(std::uint32_t(std::time(nullptr))));
    StartActors();

    ApplyStoredGamma();
    clock.SetColor(COLORREF(settings.clockColour));
    SystemParametersInfoA(SPI_SETSCREENSAVERRUNNING, TRUE, nullptr, 0);
    if (!options_.manualTicks) frameTimer.SetEnabled(true);
    if (settings.playSound) PlaySoundA("SoundName", nullptr, SND_RESOURCE | SND_ASYNC | SND_LOOP);
    ShowCursor(FALSE);

    if (settings.demoDay) dayTime = kSecondsPerDay / 2;  // the demo day starts at noon
    if (settings.realDaylight || settings.demoDay) UpdateLighting();
    built_ = true;
}

void SceneForm::ShowSunTimeLines(const SunTimes& sun) {
    display.ShowTextLine(1, true);
    display.ShowTextLine(2, true);
    display.SetTextLine(1, "Sunrise at: " + SunTimeText(sun.sunrise, sun.sunrisePolar));
    display.SetTextLine(2, "Sunset at: " + SunTimeText(sun.sunset, sun.sunsetPolar));
}

void SceneForm::BuildLayers(ScenePictures& pictures) {
    struct SceneLayer {
        std::variant<Sprite*, AnimationStrip*> drawable;
        LayerPicture picture;
        const LayerPlan& plan;
    };
    const SceneLayer layers[] = {
        {&ground, &pictures.ground, kGroundPlan},  // sky, sea, the distant island, the palm
        {&highWater, &pictures.highWater, kHighWaterPlan},
        {&lowWater, &pictures.lowWater, kLowWaterPlan},
        {&stones, "stone", kStonesPlan},         // the shore, drawn over the actors
        {&palmMask, "masktree", kPalmMaskPlan},  // the palm's trunk, drawn over the actors
        {&nearGulls, "bird", kNearGullsPlan},
        {&farGulls, "birds_small", kFarGullsPlan},
        {&yacht, "yacht", kYachtPlan},
        {&dolphins[0], "dolphin", kDolphinPlan},
        {&dolphins[1], "dolphin", kDolphinPlan},
    };
    const Size screen{display.Width(), display.Height()};
    for (const SceneLayer& layer : layers) {
        std::visit([&](auto* drawable) { BuildLayer(*drawable, layer.picture, layer.plan, screen); },
                   layer.drawable);
    }
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
    gamma.SetLevel(settings.gammaLevel);
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
