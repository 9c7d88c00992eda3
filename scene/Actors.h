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
    SharedInt x, y;
    SharedInt speed, speedPeriod, speedCount;
    SharedInt climb, climbPeriod, climbCount;
    SharedInt flap, flapPeriod, flapCount;
    SharedInt distant;
    SharedInt frame;
};

inline constexpr int kGullCount = 10;
using Gulls = std::array<Gull, kGullCount>;

// Horizontal pixels per tick for a speed class 1 to 5.
int GullStep(int speed);

void StartGulls(Gulls& birds, const SceneGeometry& screen);
void MoveGull(Gull& bird, const SceneGeometry& screen, RandomGenerator& random);

struct Dolphin {
    SharedInt frame{-1};
    SharedInt period{0};
    SharedInt x{0};
    SharedInt y{0};
};

void StartDolphin(Dolphin& dolphin, RandomGenerator& random);
void StepDolphin(Dolphin& dolphin, int tickCount, const SceneGeometry& screen, RandomGenerator& random);

struct Yacht {
    SharedInt inbound{-1};
    SharedInt turn{-1};
    SharedInt outbound{-1};
    SharedInt period{0};
    SharedInt stopX{0};
    SharedInt stopOffset{0};
    SharedInt step{0};
    SharedInt x{0};
    SharedInt y{0};

    bool Idle() const { return inbound == -1 && turn == -1 && outbound == -1; }
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
