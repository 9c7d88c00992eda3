#include "scene/Actors.h"

#include <algorithm>
#include <cstdint>

namespace {

constexpr int kPlaceBits = 24;
constexpr std::uint64_t kPlaceMask = (std::uint64_t(1) << kPlaceBits) - 1;
constexpr int kFrameShift = 2 * kPlaceBits;
constexpr int kDistantShift = kFrameShift + 8;

int HeldPlace(int place) {
    return std::clamp(place, -PublishedPose::kPlaceLimit, PublishedPose::kPlaceLimit);
}

// The low 24 bits of a word, sign-extended.
int PlaceOf(std::uint64_t bits) {
    return std::int32_t(std::uint32_t(bits & kPlaceMask) << (32 - kPlaceBits)) >> (32 - kPlaceBits);
}

void PublishGull(Gull& bird) { bird.pose.Publish({bird.x, bird.y, bird.frame, bird.distant != 0}); }
void PublishDolphin(Dolphin& dolphin) { dolphin.pose.Publish({dolphin.x, dolphin.y, dolphin.frame, false}); }
void PublishYacht(Yacht& yacht) { yacht.pose.Publish({yacht.x, yacht.y, yacht.DrawnFrame(), false}); }

}  // namespace

std::uint64_t PublishedPose::Pack(const ActorPose& pose) {
    const auto frame = std::uint8_t(std::clamp(pose.frame, -1, 127));
    return (std::uint64_t(std::uint32_t(HeldPlace(pose.x))) & kPlaceMask) |
           ((std::uint64_t(std::uint32_t(HeldPlace(pose.y))) & kPlaceMask) << kPlaceBits) |
           (std::uint64_t(frame) << kFrameShift) | (std::uint64_t(pose.distant) << kDistantShift);
}

void PublishedPose::Publish(const ActorPose& pose) { word_.store(Pack(pose), std::memory_order_relaxed); }

ActorPose PublishedPose::Read() const {
    const std::uint64_t word = word_.load(std::memory_order_relaxed);
    return {PlaceOf(word), PlaceOf(word >> kPlaceBits), std::int8_t(std::uint8_t(word >> kFrameShift)),
            ((word >> kDistantShift) & 1) != 0};
}

int GullStep(int speed) {
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

void StartGulls(Gulls& birds, const SceneGeometry& screen) {
    for (int i = 0; i < kGullCount; ++i) {
        Gull& bird = birds[i];
        // x from the height, as the saver always did: W·100/800 on 4:3
        // screens and a few pixels off on others, which the flock leaves at
        // once; keeping it keeps every seed's run as it was.
        bird.x = screen.H * 100 / 600 + 50 * i;
        bird.y = screen.H * 300 / 600 + 10 * i;
        bird.speed = i % 4 + 1;
        bird.speedPeriod = i + 20;
        bird.speedCount = 0;
        bird.climb = 2;
        bird.climbPeriod = 2 * i + 10;
        bird.climbCount = 0;
        bird.flap = 1;
        bird.flapPeriod = 30;
        bird.flapCount = 0;
        bird.distant = i % 2;
        bird.frame = 0;
        PublishGull(bird);
    }
}

void MoveGull(Gull& bird, const SceneGeometry& screen, RandomGenerator& random) {
    bird.speedCount = bird.speedCount + 1;
    bird.climbCount = bird.climbCount + 1;
    bird.flapCount = bird.flapCount + 1;

    if (bird.speedCount > bird.speedPeriod) {
        const int speed = bird.speed;
        if (random(2) == 1)
            bird.speed = speed < 5 ? speed + 1 : speed - 1;
        else
            bird.speed = speed > 1 ? speed - 1 : speed + 1;
        bird.speedPeriod = random(70) + 30;
        bird.speedCount = 0;
    }
    if (bird.climbCount > bird.climbPeriod) {
        bird.climb = random(2) + 1;
        bird.climbPeriod = random(80) + 1;
        bird.climbCount = 0;
    }
    if (bird.flapCount > bird.flapPeriod && bird.flapCount % 8 == 0) {
        bird.flap = random(4) == 0 ? 1 : 0;
        bird.flapPeriod = random(50) + 1;
        bird.flapCount = 0;
    }

    const int newX = bird.x + GullStep(bird.speed);
    if (newX < -100) {
        bird.distant = 1 - bird.distant;
        bird.speed = 5;
        bird.speedPeriod = random(80) + 100;
        bird.speedCount = 0;
    }
    if (newX > screen.W + 100) {
        bird.distant = 1 - bird.distant;
        bird.speed = 1;
        bird.speedPeriod = random(80) + 100;
        bird.speedCount = 0;
    }
    bird.x = newX;

    const int newY = bird.climb == 1 ? bird.y - 1 : bird.y + 1;
    if (newY < screen.H * 220 / 600) {
        bird.climb = 2;
        bird.climbPeriod = random(50) + 1;
        bird.climbCount = 0;
    }
    if (newY > screen.H * 400 / 600) {
        bird.climb = 1;
        bird.climbPeriod = random(50) + 1;
        bird.climbCount = 0;
    }
    bird.y = newY;

    const int speed = bird.speed;
    const bool glidingDown = bird.climb == 2 && speed >= 2 && speed <= 4;
    const int pose = glidingDown && bird.flap == 0 ? 1 : bird.flapCount % 8;
    bird.frame = (speed - 1) * 8 + pose;
    PublishGull(bird);
}

void StartDolphin(Dolphin& dolphin, RandomGenerator& random) {
    dolphin.period = random(300) + 50;
    dolphin.frame = -1;
    PublishDolphin(dolphin);
}

namespace {

void AdvanceDolphin(Dolphin& dolphin, int tickCount, const SceneGeometry& screen, RandomGenerator& random) {
    if (dolphin.frame == -1) {
        if (tickCount % dolphin.period == 0) {
            const int x = (random(800) + 10) * screen.W / 800;
            const int y = (random(40) + 380) * screen.H / 600;
            dolphin.x = x;
            dolphin.y = y;
            dolphin.frame = 0;
            dolphin.period = random(600) + 1;
        }
        return;
    }
    const int frame = dolphin.frame + 1;
    dolphin.frame = frame < Dolphin::kLeapFrames ? frame : -1;
}

}  // namespace

void StepDolphin(Dolphin& dolphin, int tickCount, const SceneGeometry& screen, RandomGenerator& random) {
    AdvanceDolphin(dolphin, tickCount, screen, random);
    PublishDolphin(dolphin);
}

int Yacht::DrawnFrame() const {
    switch (leg) {
    case YachtLeg::SailingIn:
        return kSailingInFrame;
    case YachtLeg::Turning:
        return turnFrame;
    case YachtLeg::SailingOut:
        return kTurnFrames;
    case YachtLeg::Idle:
        break;
    }
    return -1;
}

void ResetYacht(Yacht& yacht) {
    yacht.leg = YachtLeg::Idle;
    yacht.stopX = 0;
    yacht.stopOffset = 0;
    yacht.step = 0;
    PublishYacht(yacht);
}

void StartYacht(Yacht& yacht, RandomGenerator& random) {
    yacht.period = random(2) + 3;
    ResetYacht(yacht);
}

namespace {

// The legs follow one another within a tick: the tick that arrives already
// turns, and the tick that ends the turn already sails out.
void AdvanceYacht(Yacht& yacht, int tickCount, const SceneGeometry& screen, RandomGenerator& random) {
    if (yacht.Idle() && tickCount % yacht.period == 0) {
        yacht.leg = YachtLeg::SailingIn;
        yacht.sailedIn = 0;
        yacht.x = screen.W;
        yacht.y = screen.H * 360 / 600;
        yacht.stopX = (random(450) + 300) * screen.W / 800;
    }
    if (yacht.step < 2) {
        yacht.step = yacht.step + 1;
        return;
    }
    yacht.step = 0;

    if (yacht.leg == YachtLeg::SailingIn) {
        yacht.sailedIn = yacht.sailedIn + 1;
        yacht.x = screen.W - yacht.sailedIn;
        if (yacht.x < yacht.stopX) {
            yacht.stopOffset = int(yacht.sailedIn);
            yacht.leg = YachtLeg::Turning;
            yacht.turnFrame = 0;
        }
    }
    if (yacht.leg == YachtLeg::Turning) {
        yacht.turnFrame = yacht.turnFrame + 1;
        if (yacht.turnFrame > Yacht::kTurnFrames) {
            yacht.leg = YachtLeg::SailingOut;
            yacht.leftToSail = int(yacht.stopOffset);
        }
    }
    if (yacht.leg == YachtLeg::SailingOut) {
        yacht.leftToSail = yacht.leftToSail - 1;
        yacht.x = screen.W - yacht.leftToSail;
        if (yacht.leftToSail == 0) {
            yacht.leg = YachtLeg::Idle;
            yacht.period = random(600) + 60;
        }
    }
}

}  // namespace

void StepYacht(Yacht& yacht, int tickCount, const SceneGeometry& screen, RandomGenerator& random) {
    AdvanceYacht(yacht, tickCount, screen, random);
    PublishYacht(yacht);
}
