#include "platform/Kernel.h"
#include "scene/Unit1.h"

void TForm1::AppIdle(TObject*, bool& Done) {
    Done = false;
    FlipParity = !FlipParity;
    DDmain1.ClearBackSurface();
    DDbmp1ground.DrawImage();
    const int water = WaterFrame;
    DDani1hightwater.SetNumberFrame(water);
    DDani1hightwater.DrawAni();
    DDani1lowwater.SetNumberFrame(water);
    DDani1lowwater.DrawAni();

    // Each actor as one tick left it, however far the update pass has got.
    if (Setting.FlagShowYacht) DrawPose(Yacht.Pose.Read(), DDani1Yaht);
    if (Setting.FlagShowDolphins) {
        DrawPose(Dolphin1.Pose.Read(), DDani1Dlp);
        DrawPose(Dolphin2.Pose.Read(), DDani1Dlp2);
    }
    for (int i = 0; i < BirdCount(); ++i) DrawBird(i);

    DDbmp1stone.DrawImage();
    DDbmp1masktree.DrawImage();
    if (Setting.flag_clock) DXClock1.ShowClock();
    DDmain1.FlipSurfaces();
}

void TForm1::DrawBird(int index) {
    const ActorPose bird = Birds[index].Pose.Read();
    DrawPose(bird, bird.small ? DDani1birds_small : DDani1bird);
}

void TForm1::DrawPose(const ActorPose& pose, TDDani& strip) {
    if (pose.frame < 0) return;
    strip.SetShowX(pose.x);
    strip.SetShowY(pose.y);
    strip.SetNumberFrame(pose.frame);
    strip.DrawAni();
}

void TForm1::DDtimer1Timer(TObject*) {
    const SceneGeometry screen = Geometry();
    int tick = TickCount + 1;
    if (tick > screen.H + 500) tick = 0;
    TickCount = tick;
    const int water = WaterFrame + 1;
    WaterFrame = water > 31 ? 0 : water;

    for (int i = 0; i < BirdCount(); ++i) MoveBird(Birds[i], screen, FRandom);
    StepYacht(Yacht, tick, screen, FRandom);
    StepDolphin(Dolphin1, tick, screen, FRandom);
    StepDolphin(Dolphin2, tick, screen, FRandom);

    if (Setting.FlagDemoDaytime) DayTime = DayTime >= kSecondsPerDay ? 0 : DayTime + 50;
    if (Setting.FlagDaytime || Setting.FlagDemoDaytime) LightingUpdate();
}

void TForm1::LightingUpdate() {
    if (Setting.FlagDaytime) {
        SYSTEMTIME now{};
        GetLocalTime(&now);
        DayTime = now.wHour * 3600 + now.wMinute * 60 + now.wSecond;
    }
    const int T = DayTime;
    const TLevels levels = LightingLevels(T, Phases);
    CurrentRed = levels.Red;
    CurrentGreen = levels.Green;
    CurrentBlue = levels.Blue;
    DDgamma1.SetEnabled(true);
    if (!DDgamma1.Enabled()) return;
    DDgamma1.SetLinearRGB(levels.Red, levels.Green, levels.Blue);
    if (Setting.FlagDemoDaytime && Setting.FlagShowSimulateTime) {
        DDmain1.SetShowTestString(true);
        DDmain1.SetTestString(DemoClockText(T));
    }
}
