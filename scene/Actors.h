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

struct TBird {
    SharedInt X, Y;
    SharedInt Speed, SpeedPeriod, SpeedCount;
    SharedInt Climb, ClimbPeriod, ClimbCount;
    SharedInt Flap, FlapPeriod, FlapCount;
    SharedInt Small;
    SharedInt Frame;
};

inline constexpr int kBirdCount = 10;
using TBirds = std::array<TBird, kBirdCount>;

// Horizontal pixels per tick for a Speed class 1 to 5.
int BirdStep(int speed);

void StartBirds(TBirds& birds, const SceneGeometry& screen);
void MoveBird(TBird& bird, const SceneGeometry& screen, TRandom& random);

struct TDolphin {
    SharedInt DolphinFrame{-1};
    SharedInt DolphinPeriod{0};
    SharedInt ShowX{0};
    SharedInt ShowY{0};
};

void StartDolphin(TDolphin& dolphin, TRandom& random);
void StepDolphin(TDolphin& dolphin, int tickCount, const SceneGeometry& screen, TRandom& random);

struct TYacht {
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
void ResetYacht(TYacht& yacht);
void StartYacht(TYacht& yacht, TRandom& random);
void StepYacht(TYacht& yacht, int tickCount, const SceneGeometry& screen, TRandom& random);

// Every actor of the scene: ten seagull records, of which the first NumBirds
// fly, two dolphins and the yacht.
struct SceneActors {
    TBirds gulls;
    std::array<TDolphin, 2> dolphins;
    TYacht yacht;
};
