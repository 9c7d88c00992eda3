// The scene's actors: seagulls, dolphins and the yacht, each moved by whole
// pixels or frames per tick of the frame timer.
#pragma once

#include "scene/Random.h"
#include "scene/Shared.h"

#include <array>

// Display width W and height H, and the width setting ResHor (equal to W).
struct SceneGeometry {
    int W = 800;
    int H = 600;
    int ResHor = 800;
};

struct Gull {
    SharedInt X, Y;
    SharedInt Speed, SpeedPeriod, SpeedCount;
    SharedInt Climb, ClimbPeriod, ClimbCount;
    SharedInt Flap, FlapPeriod, FlapCount;
    SharedInt Small;
    SharedInt Frame;
};

inline constexpr int kBirdCount = 10;
using Gulls = std::array<Gull, kBirdCount>;

// Horizontal pixels per tick for a Speed class 1 to 5.
int BirdStep(int speed);

void StartBirds(Gulls& birds, const SceneGeometry& screen);
void MoveBird(Gull& bird, const SceneGeometry& screen, RandomGenerator& random);

struct Dolphin {
    SharedInt DolphinFrame{-1};
    SharedInt DolphinPeriod{0};
    SharedInt ShowX{0};
    SharedInt ShowY{0};
};

void StartDolphin(Dolphin& dolphin, RandomGenerator& random);
void StepDolphin(Dolphin& dolphin, int tickCount, const SceneGeometry& screen, RandomGenerator& random);

struct Yacht {
    SharedInt YachtIn{-1};
    SharedInt YachtTurn{-1};
    SharedInt YachtOut{-1};
    SharedInt YachtPeriod{0};
    SharedInt YachtStopX{0};
    SharedInt YachtStopOffset{0};
    SharedInt YachtStep{0};
    SharedInt ShowX{0};
    SharedInt ShowY{0};

    bool Idle() const { return YachtIn == -1 && YachtTurn == -1 && YachtOut == -1; }
    // The strip frame to draw, or -1 while idle.
    int DrawnFrame() const;
};

// Back to the idle state set-up gives before the random period is drawn.
void ResetYacht(Yacht& yacht);
void StartYacht(Yacht& yacht, RandomGenerator& random);
void StepYacht(Yacht& yacht, int tickCount, const SceneGeometry& screen, RandomGenerator& random);

// Every actor of the scene: ten seagull records, of which the first NumBirds
// fly, two dolphins and the yacht.
struct SceneActors {
    Gulls gulls;
    std::array<Dolphin, 2> dolphins;
    Yacht yacht;
};
