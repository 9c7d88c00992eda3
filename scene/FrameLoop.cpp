#include "platform/Kernel.h"
#include "scene/SceneForm.h"

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

    if (settings.FlagShowYacht) {
        const int frame = actors.yacht.DrawnFrame();
        if (frame >= 0) {
            yacht.SetX(actors.yacht.x);
            yacht.SetY(actors.yacht.y);
            yacht.SetFrame(frame);
            yacht.DrawFrame();
        }
    }
    if (settings.FlagShowDolphins) {
        auto drawDolphin = [](const Dolphin& dolphin, AnimationStrip& strip) {
            const int frame = dolphin.frame;
            if (frame == -1) return;
            strip.SetX(dolphin.x);
            strip.SetY(dolphin.y);
            strip.SetFrame(frame);
            strip.DrawFrame();
        };
        for (std::size_t i = 0; i < dolphins.size(); ++i) drawDolphin(actors.dolphins[i], dolphins[i]);
    }
    for (int i = 0; i < GullCount(); ++i) DrawGull(i);

    stones.DrawImage();
    palmMask.DrawImage();
    if (settings.flag_clock) clock.Draw();
    display.FlipSurfaces();
}

void SceneForm::DrawGull(int index) {
    const Gull& bird = actors.gulls[index];
    AnimationStrip& strip = bird.distant != 0 ? farGulls : nearGulls;
    strip.SetX(bird.x);
    strip.SetY(bird.y);
    strip.SetFrame(bird.frame);
    strip.DrawFrame();
}

void SceneForm::UpdatePass(TObject*) {
    const SceneGeometry screen = Geometry();
    int tick = tickCount + 1;
    if (tick > screen.H + 500) tick = 0;
    tickCount = tick;
    const int water = waterFrame + 1;
    waterFrame = water > 31 ? 0 : water;

    for (int i = 0; i < GullCount(); ++i) MoveGull(actors.gulls[i], screen, random_);
    StepYacht(actors.yacht, tick, screen, random_);
    for (Dolphin& dolphin : actors.dolphins) StepDolphin(dolphin, tick, screen, random_);

    if (settings.FlagDemoDaytime) dayTime = dayTime >= kSecondsPerDay ? 0 : dayTime + 50;
    if (settings.FlagDaytime || settings.FlagDemoDaytime) UpdateLighting();
}

void SceneForm::UpdateLighting() {
    if (settings.FlagDaytime) {
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
    if (settings.FlagDemoDaytime && settings.FlagShowSimulateTime) {
        display.ShowTextLine(0, true);
        display.SetTextLine(0, DemoClockText(T));
    }
}
