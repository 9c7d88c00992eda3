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
    bool distant = false;
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

// Display width W and height H.
struct SceneGeometry {
    int W = 800;
    int H = 600;
};

struct Gull {
    SharedInt x, y;
    SharedInt speed, speedPeriod, speedCount;
    SharedInt climb, climbPeriod, climbCount;
    SharedInt flap, flapPeriod, flapCount;
    SharedInt distant;
    SharedInt frame;
    PublishedPose pose;
};

inline constexpr int kGullCount = 10;
using Gulls = std::array<Gull, kGullCount>;

// Horizontal pixels per tick for a speed class 1 to 5.
int GullStep(int speed);

// Each start and step ends by publishing the actor's pose.
void StartGulls(Gulls& birds, const SceneGeometry& screen);
void MoveGull(Gull& bird, const SceneGeometry& screen, RandomGenerator& random);

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

struct Dolphin {
    // One leap, from surfacing to diving back in, a frame a tick.
    static constexpr int kLeapFrames = 19;

    SharedInt frame{-1};
    AppearancePeriod period;
    SharedInt x{0};
    SharedInt y{0};
    PublishedPose pose;
};

void StartDolphin(Dolphin& dolphin, RandomGenerator& random);
void StepDolphin(Dolphin& dolphin, int tickCount, const SceneGeometry& screen, RandomGenerator& random);

// A visit of the yacht: it sails in from the right edge, turns about and sails
// back out; idle between visits.
enum class YachtLeg { Idle, SailingIn, Turning, SailingOut };

struct Yacht {
    // The yacht strip: frame 0 under full sail, frames 1 to 27 the turn,
    // whose last frame also shows it sailing out.
    static constexpr int kSailingInFrame = 0;
    static constexpr int kTurnFrames = 27;

    Shared<YachtLeg> leg{YachtLeg::Idle};
    SharedInt sailedIn{0};    // sailing in: the distance from the right edge so far
    SharedInt turnFrame{0};   // turning: the frame shown, 1 to kTurnFrames
    SharedInt leftToSail{0};  // sailing out: the distance left to the right edge
    AppearancePeriod period;
    SharedInt stopX{0};
    SharedInt stopOffset{0};  // how far it sailed in, and so has to sail out
    SharedInt step{0};
    SharedInt x{0};
    SharedInt y{0};
    PublishedPose pose;

    bool Idle() const { return leg == YachtLeg::Idle; }
    // The strip frame to draw, or -1 while idle.
    int DrawnFrame() const;
};

// Back to the idle state set-up gives before the random period is drawn.
void ResetYacht(Yacht& yacht);
void StartYacht(Yacht& yacht, RandomGenerator& random);
void StepYacht(Yacht& yacht, int tickCount, const SceneGeometry& screen, RandomGenerator& random);

// Every actor of the scene: ten seagull records, of which the first gullCount
// fly, two dolphins and the yacht.
struct SceneActors {
    Gulls gulls;
    std::array<Dolphin, 2> dolphins;
    Yacht yacht;
};
