#include "scene/Actors.h"

int BirdStep(int speed) {
    switch (speed) {
    case 1:
        return -3;
    case 2:
        return -2;
    case 3:
        return -1;
    case 4:
        return 2;
    case 5:
        return 3;
    default:
        return 0;
    }
}

void StartBirds(Gulls& birds, const SceneGeometry& screen) {
    for (int i = 0; i < kBirdCount; ++i) {
        Gull& bird = birds[i];
        // x from the height, as the saver always did: W·100/800 on 4:3
        // screens and a few pixels off on others, which the flock leaves at
        // once; keeping it keeps every seed's run as it was.
        bird.X = screen.H * 100 / 600 + 50 * i;
        bird.Y = screen.H * 300 / 600 + 10 * i;
        bird.Speed = i % 4 + 1;
        bird.SpeedPeriod = i + 20;
        bird.SpeedCount = 0;
        bird.Climb = 2;
        bird.ClimbPeriod = 2 * i + 10;
        bird.ClimbCount = 0;
        bird.Flap = 1;
        bird.FlapPeriod = 30;
        bird.FlapCount = 0;
        bird.Small = i % 2;
        bird.Frame = 0;
    }
}

void MoveBird(Gull& bird, const SceneGeometry& screen, RandomGenerator& random) {
    bird.SpeedCount = bird.SpeedCount + 1;
    bird.ClimbCount = bird.ClimbCount + 1;
    bird.FlapCount = bird.FlapCount + 1;

    if (bird.SpeedCount > bird.SpeedPeriod) {
        const int speed = bird.Speed;
        if (random(2) == 1)
            bird.Speed = speed < 5 ? speed + 1 : speed - 1;
        else
            bird.Speed = speed > 1 ? speed - 1 : speed + 1;
        bird.SpeedPeriod = random(70) + 30;
        bird.SpeedCount = 0;
    }
    if (bird.ClimbCount > bird.ClimbPeriod) {
        bird.Climb = random(2) + 1;
        bird.ClimbPeriod = random(80) + 1;
        bird.ClimbCount = 0;
    }
    if (bird.FlapCount > bird.FlapPeriod && bird.FlapCount % 8 == 0) {
        bird.Flap = random(4) == 0 ? 1 : 0;
        bird.FlapPeriod = random(50) + 1;
        bird.FlapCount = 0;
    }

    const int newX = bird.X + BirdStep(bird.Speed);
    if (newX < -100) {
        bird.Small = 1 - bird.Small;
        bird.Speed = 5;
        bird.SpeedPeriod = random(80) + 100;
        bird.SpeedCount = 0;
    }
    if (newX > screen.ResHor + 100) {
        bird.Small = 1 - bird.Small;
        bird.Speed = 1;
        bird.SpeedPeriod = random(80) + 100;
        bird.SpeedCount = 0;
    }
    bird.X = newX;

    const int newY = bird.Climb == 1 ? bird.Y - 1 : bird.Y + 1;
    if (newY < screen.H * 220 / 600) {
        bird.Climb = 2;
        bird.ClimbPeriod = random(50) + 1;
        bird.ClimbCount = 0;
    }
    if (newY > screen.H * 400 / 600) {
        bird.Climb = 1;
        bird.ClimbPeriod = random(50) + 1;
        bird.ClimbCount = 0;
    }
    bird.Y = newY;

    const int speed = bird.Speed;
    const bool glidingDown = bird.Climb == 2 && speed >= 2 && speed <= 4;
    const int pose = glidingDown && bird.Flap == 0 ? 1 : bird.FlapCount % 8;
    bird.Frame = (speed - 1) * 8 + pose;
}

void StartDolphin(Dolphin& dolphin, RandomGenerator& random) {
    dolphin.DolphinPeriod = random(300) + 50;
    dolphin.DolphinFrame = -1;
}

void StepDolphin(Dolphin& dolphin, int tickCount, const SceneGeometry& screen, RandomGenerator& random) {
    if (dolphin.DolphinFrame == -1) {
        if (tickCount % dolphin.DolphinPeriod == 0) {
            const int x = (random(800) + 10) * screen.W / 800;
            const int y = (random(40) + 380) * screen.H / 600;
            dolphin.ShowX = x;
            dolphin.ShowY = y;
            dolphin.DolphinFrame = 0;
            dolphin.DolphinPeriod = random(600) + 1;
        }
        return;
    }
    const int frame = dolphin.DolphinFrame + 1;
    dolphin.DolphinFrame = frame > 18 ? -1 : frame;
}

int Yacht::DrawnFrame() const {
    if (YachtIn >= 0) return 0;
    if (YachtTurn >= 0) return YachtTurn;
    if (YachtOut >= 0) return 27;
    return -1;
}

void ResetYacht(Yacht& yacht) {
    yacht.YachtIn = -1;
    yacht.YachtTurn = -1;
    yacht.YachtOut = -1;
    yacht.YachtStopX = 0;
    yacht.YachtStopOffset = 0;
    yacht.YachtStep = 0;
}

void StartYacht(Yacht& yacht, RandomGenerator& random) {
    yacht.YachtPeriod = random(2) + 3;
    ResetYacht(yacht);
}

void StepYacht(Yacht& yacht, int tickCount, const SceneGeometry& screen, RandomGenerator& random) {
    if (yacht.Idle() && tickCount % yacht.YachtPeriod == 0) {
        yacht.YachtIn = 0;
        yacht.ShowX = screen.W;
        yacht.ShowY = screen.H * 360 / 600;
        yacht.YachtStopX = (random(450) + 300) * screen.W / 800;
    }
    if (yacht.YachtStep < 2) {
        yacht.YachtStep = yacht.YachtStep + 1;
        return;
    }
    yacht.YachtStep = 0;

    if (yacht.YachtIn >= 0) {
        yacht.YachtIn = yacht.YachtIn + 1;
        yacht.ShowX = screen.W - yacht.YachtIn;
        if (yacht.ShowX < yacht.YachtStopX) {
            yacht.YachtStopOffset = int(yacht.YachtIn);
            yacht.YachtIn = -1;
            yacht.YachtTurn = 0;
        }
    }
    if (yacht.YachtTurn >= 0) {
        yacht.YachtTurn = yacht.YachtTurn + 1;
        if (yacht.YachtTurn > 27) {
            yacht.YachtTurn = -1;
            yacht.YachtOut = int(yacht.YachtStopOffset);
        }
    }
    if (yacht.YachtOut >= 0) {
        yacht.YachtOut = yacht.YachtOut - 1;
        yacht.ShowX = screen.W - yacht.YachtOut;
        if (yacht.YachtOut == 0) {
            yacht.YachtOut = -1;
            yacht.YachtPeriod = random(600) + 60;
        }
    }
}
