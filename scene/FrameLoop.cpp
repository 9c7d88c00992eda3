#include "platform/winapi/Kernel.h"
#include "scene/SceneForm.h"

namespace {

// The tick counter runs this many ticks past the display's height, then
// restarts at 0: 1101 values at 600 lines. 0 is a multiple of every
// appearance period, so the restart brings on every idle dolphin and an
// idle yacht; it bounds the longest wait for them.
constexpr int kTicksPastHeight = 500;
// Both water strips cycle through their frames together.
constexpr int kWaterFrames = 32;
// Simulated seconds of the demo day per tick: a day of 1729 ticks, 86.45 s
// at the normal speed.
constexpr int kDemoSecondsPerTick = 50;

}  // namespace

void SceneForm::RenderPass(TObject*, bool& Done) {
    Done = false;
    flipParity = !flipParity;
    display.ClearBackSurface();
    ground.DrawImage();
    const int water = waterFrame;
    highWater.SetFrame(water);
    highWater.DrawFrame();
    lowWater.SetFrame(water);
    lowWater.DrawFrame();

    // Each actor as one tick left it, however far the update pass has got.
    if (settings.showYacht) DrawPose(actors.yacht.pose.Read(), yacht);
    if (settings.showDolphins) {
        for (std::size_t i = 0; i < dolphins.size(); ++i)
            DrawPose(actors.dolphins[i].pose.Read(), dolphins[i]);
    }
    for (int i = 0; i < GullCount(); ++i) DrawGull(i);

    stones.DrawImage();
    palmMask.DrawImage();
    if (settings.showClock) clock.Draw();
    display.FlipSurfaces();
}

void SceneForm::DrawGull(int index) {
    const ActorPose bird = actors.gulls[index].pose.Read();
    DrawPose(bird, bird.distant ? farGulls : nearGulls);
}

void SceneForm::DrawPose(const ActorPose& pose, AnimationStrip& strip) {
    if (pose.frame < 0) return;
    strip.SetX(pose.x);
    strip.SetY(pose.y);
    strip.SetFrame(pose.frame);
    strip.DrawFrame();
}

void SceneForm::UpdatePass(TObject*) {
    const SceneGeometry screen = Geometry();
    int tick = tickCount + 1;
    if (tick > screen.H + kTicksPastHeight) tick = 0;
    tickCount = tick;
    const int water = waterFrame + 1;
    waterFrame = water < kWaterFrames ? water : 0;

    for (int i = 0; i < GullCount(); ++i) MoveGull(actors.gulls[i], screen, random_);
    StepYacht(actors.yacht, tick, screen, random_);
    for (Dolphin& dolphin : actors.dolphins) StepDolphin(dolphin, tick, screen, random_);

    if (settings.demoDay) dayTime = dayTime >= kSecondsPerDay ? 0 : dayTime + kDemoSecondsPerTick;
    if (settings.realDaylight || settings.demoDay) UpdateLighting();
}

void SceneForm::UpdateLighting() {
    if (settings.realDaylight) {
        SYSTEMTIME now{};
        GetLocalTime(&now);
        dayTime = now.wHour * 3600 + now.wMinute * 60 + now.wSecond;
    }
    const int T = dayTime;
    const LightLevels levels = LightingLevels(T, phases);
    currentRed = levels.red;
    currentGreen = levels.green;
    currentBlue = levels.blue;
    gamma.SetEnabled(true);
    if (!gamma.Enabled()) return;
    gamma.SetChannelLevels(levels.red, levels.green, levels.blue);
    if (settings.demoDay && settings.showDemoClock) {
        display.ShowTextLine(0, true);
        display.SetTextLine(0, DemoClockText(T));
    }
}
