// The scene's actors: seagulls, dolphins and the yacht, each moved by whole
// pixels or frames per tick of the frame timer.
#pragma once

#include "scene/Random.h"
#include "scene/Shared.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cstdint>

// What a frame draws of one actor: its place, its strip frame (-1: nothing)
// and, for a seagull, whether it is the distant one.
struct ActorPose {
    int x = 0;
    int y = 0;
    int frame = -1;
    bool small = false;
    friend bool operator==(const ActorPose&, const ActorPose&) = default;
};

// An actor's pose as the update pass last completed it, kept in one atomic
// word: the render pass reads every actor whole, from one tick, while the
// update pass goes on, and neither waits for the other. Places are held to
// +-kPlaceLimit, far beyond any screen; frames to -1..127.
class PublishedPose {
public:
    static constexpr int kPlaceLimit = (1 << 23) - 1;

    void Publish(const ActorPose& pose);
    ActorPose Read() const;

private:
    std::atomic<std::uint64_t> word_{Pack({})};

    static std::uint64_t Pack(const ActorPose& pose);
};

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
    PublishedPose Pose;
};

inline constexpr int kBirdCount = 10;
using TBirds = std::array<TBird, kBirdCount>;

// Horizontal pixels per tick for a Speed class 1 to 5.
int BirdStep(int speed);

// Each start and step ends by publishing the actor's pose.
void StartBirds(TBirds& birds, const SceneGeometry& screen);
void MoveBird(TBird& bird, const SceneGeometry& screen, TRandom& random);

// Ticks between chances of an appearance, which starts on a tick that is a
// multiple of it. The ticks are divided by it, so it is never below 1,
// whatever set-up did or did not get to.
class AppearancePeriod {
public:
    AppearancePeriod& operator=(int ticks) {
        ticks_ = std::max(ticks, 1);
        return *this;
    }
    operator int() const { return ticks_; }

private:
    SharedInt ticks_{1};
};

struct TDolphin {
    SharedInt DolphinFrame{-1};
    AppearancePeriod DolphinPeriod;
    SharedInt ShowX{0};
    SharedInt ShowY{0};
    PublishedPose Pose;
};

void StartDolphin(TDolphin& dolphin, TRandom& random);
void StepDolphin(TDolphin& dolphin, int tickCount, const SceneGeometry& screen, TRandom& random);

struct TYacht {
    SharedInt YachtIn{-1};
    SharedInt YachtTurn{-1};
    SharedInt YachtOut{-1};
    AppearancePeriod YachtPeriod;
    SharedInt YachtStopX{0};
    SharedInt YachtStopOffset{0};
    SharedInt YachtStep{0};
    SharedInt ShowX{0};
    SharedInt ShowY{0};
    PublishedPose Pose;

    bool Idle() const { return YachtIn == -1 && YachtTurn == -1 && YachtOut == -1; }
    // The strip frame to draw, or -1 while idle.
    int DrawnFrame() const;
};

// Back to the idle state set-up gives before the random period is drawn.
void ResetYacht(TYacht& yacht);
void StartYacht(TYacht& yacht, TRandom& random);
void StepYacht(TYacht& yacht, int tickCount, const SceneGeometry& screen, TRandom& random);
