#include "platform/Kernel.h"
#include "scene/SceneForm.h"

void SceneForm::AppIdle(TObject*, bool& Done) {
    Done = false;
    FlipParity = !FlipParity;
    DDmain1.ClearBackSurface();
    DDbmp1ground.DrawImage();
    const int water = WaterFrame;
    DDani1hightwater.SetNumberFrame(water);
    DDani1hightwater.DrawAni();
    DDani1lowwater.SetNumberFrame(water);
    DDani1lowwater.DrawAni();

    if (Setting.FlagShowYacht) {
        const int frame = actors.yacht.DrawnFrame();
        if (frame >= 0) {
            DDani1Yaht.SetShowX(actors.yacht.ShowX);
            DDani1Yaht.SetShowY(actors.yacht.ShowY);
            DDani1Yaht.SetNumberFrame(frame);
            DDani1Yaht.DrawAni();
        }
    }
    if (Setting.FlagShowDolphins) {
        auto drawDolphin = [](const Dolphin& dolphin, AnimationStrip& strip) {
            const int frame = dolphin.DolphinFrame;
            if (frame == -1) return;
            strip.SetShowX(dolphin.ShowX);
            strip.SetShowY(dolphin.ShowY);
            strip.SetNumberFrame(frame);
            strip.DrawAni();
        };
        for (std::size_t i = 0; i < dolphins.size(); ++i) drawDolphin(actors.dolphins[i], dolphins[i]);
    }
    for (int i = 0; i < BirdCount(); ++i) DrawBird(i);

    DDbmp1stone.DrawImage();
    DDbmp1masktree.DrawImage();
    if (Setting.flag_clock) DXClock1.ShowClock();
    DDmain1.FlipSurfaces();
}

void SceneForm::DrawBird(int index) {
    const Gull& bird = actors.gulls[index];
    AnimationStrip& strip = bird.Small != 0 ? DDani1birds_small : DDani1bird;
    strip.SetShowX(bird.X);
    strip.SetShowY(bird.Y);
    strip.SetNumberFrame(bird.Frame);
    strip.DrawAni();
}

void SceneForm::DDtimer1Timer(TObject*) {
    const SceneGeometry screen = Geometry();
    int tick = TickCount + 1;
    if (tick > screen.H + 500) tick = 0;
    TickCount = tick;
    const int water = WaterFrame + 1;
    WaterFrame = water > 31 ? 0 : water;

    for (int i = 0; i < BirdCount(); ++i) MoveBird(actors.gulls[i], screen, FRandom);
    StepYacht(actors.yacht, tick, screen, FRandom);
    for (Dolphin& dolphin : actors.dolphins) StepDolphin(dolphin, tick, screen, FRandom);

    if (Setting.FlagDemoDaytime) DayTime = DayTime >= kSecondsPerDay ? 0 : DayTime + 50;
    if (Setting.FlagDaytime || Setting.FlagDemoDaytime) LightingUpdate();
}

void SceneForm::LightingUpdate() {
    if (Setting.FlagDaytime) {
        SYSTEMTIME now{};
        GetLocalTime(&now);
        DayTime = now.wHour * 3600 + now.wMinute * 60 + now.wSecond;
    }
    const int T = DayTime;
    const LightLevels levels = LightingLevels(T, Phases);
    CurrentRed = levels.Red;
    CurrentGreen = levels.Green;
    CurrentBlue = levels.Blue;
    DDgamma1.SetEnabled(true);
    if (!DDgamma1.Enabled()) return;
    DDgamma1.SetLinearRGB(levels.Red, levels.Green, levels.Blue);
    if (Setting.FlagDemoDaytime && Setting.FlagShowSimulateTime) {
        DDmain1.ShowTextLine(0, true);
        DDmain1.SetTextLine(0, DemoClockText(T));
    }
}
