#include "scene/Actors.h"

#include <gtest/gtest.h>

#include <climits>
#include <map>
#include <set>
#include <thread>

namespace {

// A generator whose next draws are known: the state is set so that the
// following draw gives `value` modulo what is asked.
RandomGenerator SeededAt(std::uint32_t state) {
    RandomGenerator random;
    random.Seed(state);
    return random;
}

const SceneGeometry k800x600{800, 600};

}  // namespace

TEST(Random, FollowsTheRuntimeGenerator) {
    RandomGenerator random;
    random.Seed(0);  // the seeding draw leaves state 1
    EXPECT_EQ(random.State(), 1u);
    EXPECT_EQ(random.Next(), int(((1u * 22695477u + 1u) >> 16) & 0x7FFF));
    for (int i = 0; i < 1000; ++i) {
        const int draw = random.Next();
        ASSERT_GE(draw, 0);
        ASSERT_LE(draw, 32767);
    }
}

TEST(Gulls, StartValuesFollowTheirIndex) {
    Gulls birds;
    StartGulls(birds, SceneGeometry{1024, 768});
    EXPECT_EQ(birds[0].x, 128);
    EXPECT_EQ(birds[0].y, 384);
    EXPECT_EQ(birds[3].x, 278);
    EXPECT_EQ(birds[3].y, 414);
    EXPECT_EQ(birds[5].speed, 2);
    EXPECT_EQ(birds[5].speedPeriod, 25);
    EXPECT_EQ(birds[5].climbPeriod, 20);
    EXPECT_EQ(birds[5].distant, 1);
    EXPECT_EQ(birds[4].distant, 0);
    EXPECT_EQ(birds[9].flap, 1);
}

TEST(Gulls, SpeedClassStaysWithinOneToFive) {
    for (int speed : {1, 5}) {
        for (std::uint32_t seed = 0; seed < 64; ++seed) {
            Gull bird;
            bird.x = 400;
            bird.y = 300;
            bird.speed = speed;
            bird.speedPeriod = 0;
            bird.climb = 2;
            bird.climbPeriod = 1000;
            bird.flapPeriod = 1000;
            RandomGenerator random = SeededAt(seed);
            MoveGull(bird, k800x600, random);
            EXPECT_EQ(bird.speed, speed == 1 ? 2 : 4);
        }
    }
}

TEST(Gulls, LeavingOnTheLeftTurnsAndSwitchesDistance) {
    Gull bird;
    bird.x = -98;
    bird.y = 300;
    bird.speed = 1;
    bird.speedPeriod = 1000;
    bird.climb = 2;
    bird.climbPeriod = 1000;
    bird.flapPeriod = 1000;
    bird.distant = 0;
    RandomGenerator random = SeededAt(3);
    MoveGull(bird, k800x600, random);
    EXPECT_EQ(bird.x, -101);
    EXPECT_EQ(bird.distant, 1);
    EXPECT_EQ(bird.speed, 5);
    EXPECT_GE(bird.speedPeriod, 100);
    EXPECT_LT(bird.speedPeriod, 180);
    MoveGull(bird, k800x600, random);
    EXPECT_EQ(bird.x, -98);
}

TEST(Gulls, GlidingPoseHoldsWhileSinkingWithoutFlapping) {
    Gull bird;
    bird.x = 400;
    bird.y = 300;
    bird.speed = 3;
    bird.speedPeriod = 1000;
    bird.climb = 2;
    bird.climbPeriod = 1000;
    bird.flap = 0;
    bird.flapPeriod = 1000;
    RandomGenerator random = SeededAt(1);
    for (int tick = 0; tick < 12; ++tick) {
        MoveGull(bird, k800x600, random);
        EXPECT_EQ(bird.frame, 17);
    }
    bird.flap = 1;
    for (int tick = 0; tick < 8; ++tick) {
        MoveGull(bird, k800x600, random);
        EXPECT_EQ(bird.frame, 16 + bird.flapCount % 8);
    }
}

TEST(Gulls, StayInTheirBand) {
    Gulls birds;
    StartGulls(birds, k800x600);
    RandomGenerator random = SeededAt(42);
    for (int tick = 0; tick < 5000; ++tick) {
        for (Gull& bird : birds) {
            MoveGull(bird, k800x600, random);
            ASSERT_GE(bird.y, 220 - 1);
            ASSERT_LE(bird.y, 400 + 1);
            ASSERT_GE(bird.frame, 0);
            ASSERT_LE(bird.frame, 39);
        }
    }
}

TEST(Yacht, VisitSailsInTurnsAndSailsOut) {
    Yacht yacht;
    RandomGenerator random = SeededAt(5);
    StartYacht(yacht, random);
    yacht.period = 3;
    int tick = 1;
    while (yacht.Idle()) StepYacht(yacht, tick++, k800x600, random);
    EXPECT_EQ(tick - 1, 3);  // the first visit starts on tick 3 or 4
    yacht.stopX = 300;       // as if random(450) had given 0
    // Where each leg took the yacht and which strip frames it drew, tick by tick.
    std::map<YachtLeg, std::set<int>> places{{YachtLeg::SailingIn, {yacht.x}}};
    std::map<YachtLeg, std::set<int>> drawn{{YachtLeg::SailingIn, {yacht.pose.Read().frame}}};
    int arrival = 0;
    for (; !yacht.Idle(); ++tick) {
        StepYacht(yacht, tick, k800x600, random);
        if (yacht.leg == YachtLeg::Turning && arrival == 0) arrival = tick;
        places[yacht.leg].insert(yacht.x);
        drawn[yacht.leg].insert(yacht.pose.Read().frame);
    }
    // In: 501 moves from 799 to 299 in 1503 ticks; the move left of the
    // stop arrives, and the same tick turns.
    EXPECT_EQ(places[YachtLeg::SailingIn].size(), 500u);
    EXPECT_EQ(*places[YachtLeg::SailingIn].begin(), 300);
    EXPECT_EQ(arrival, 1503);
    EXPECT_EQ(yacht.stopOffset, 501);
    // The turn: its 27 frames, on the spot.
    EXPECT_EQ(drawn[YachtLeg::Turning], std::set<int>({1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14,
                                                       15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27}));
    EXPECT_EQ(places[YachtLeg::Turning], std::set<int>{299});
    // Out: 501 moves from 300 back to 800, just beyond the right edge.
    EXPECT_EQ(places[YachtLeg::SailingOut].size(), 500u);
    EXPECT_EQ(*places[YachtLeg::SailingOut].begin(), 300);
    EXPECT_EQ(places[YachtLeg::Idle], std::set<int>{800});
    EXPECT_GE(yacht.period, 60);

    EXPECT_EQ(drawn[YachtLeg::SailingIn], std::set<int>{0});
    EXPECT_EQ(drawn[YachtLeg::SailingOut], std::set<int>{27});
    EXPECT_EQ(drawn[YachtLeg::Idle], std::set<int>{-1});
}

TEST(Dolphins, LeapLastsNineteenTicksAtOnePlace) {
    Dolphin dolphin;
    RandomGenerator random = SeededAt(9);
    StartDolphin(dolphin, random);
    EXPECT_GE(dolphin.period, 50);
    EXPECT_LT(dolphin.period, 350);
    StepDolphin(dolphin, 0, k800x600, random);  // 0 is a multiple of every period
    ASSERT_EQ(dolphin.frame, 0);
    const int x = dolphin.x, y = dolphin.y;
    EXPECT_GE(x, 10);
    EXPECT_LE(x, 809);
    EXPECT_GE(y, 380);
    EXPECT_LE(y, 419);
    for (int frame = 1; frame <= 18; ++frame) {
        StepDolphin(dolphin, frame, k800x600, random);
        EXPECT_EQ(dolphin.frame, frame);
        EXPECT_EQ(dolphin.x, x);
    }
    StepDolphin(dolphin, 19, k800x600, random);
    EXPECT_EQ(dolphin.frame, -1);
    dolphin.period = 1;
    StepDolphin(dolphin, 20, k800x600, random);
    EXPECT_EQ(dolphin.frame, 0);
}

// A scene whose set-up stopped early (a damaged settings store) still gets
// its ticks delivered: the actors it never started step without a fault.
TEST(Actors, StepEvenWhenNeverStarted) {
    Yacht yacht;
    Dolphin dolphin;
    RandomGenerator random;
    for (int tick = 0; tick < 10; ++tick) {
        StepYacht(yacht, tick, k800x600, random);
        StepDolphin(dolphin, tick, k800x600, random);
    }
    EXPECT_FALSE(yacht.Idle());
    EXPECT_NE(dolphin.frame, -1);
    dolphin.period = 0;
    EXPECT_EQ(dolphin.period, 1);
}

TEST(Actors, EachStepPublishesThePoseItLeaves) {
    Gulls birds;
    StartGulls(birds, k800x600);
    RandomGenerator random = SeededAt(3);
    for (int tick = 0; tick < 200; ++tick) MoveGull(birds[4], k800x600, random);
    EXPECT_EQ(birds[4].pose.Read(),
              (ActorPose{birds[4].x, birds[4].y, birds[4].frame, birds[4].distant != 0}));

    Yacht yacht;
    StartYacht(yacht, random);
    EXPECT_EQ(yacht.pose.Read().frame, -1);
    for (int tick = 1; yacht.leg != YachtLeg::Turning; ++tick) StepYacht(yacht, tick, k800x600, random);
    EXPECT_EQ(yacht.pose.Read(), (ActorPose{yacht.x, yacht.y, yacht.turnFrame, false}));

    Dolphin dolphin;
    StartDolphin(dolphin, random);
    StepDolphin(dolphin, 0, k800x600, random);
    EXPECT_EQ(dolphin.pose.Read(), (ActorPose{dolphin.x, dolphin.y, 0, false}));
}

TEST(Actors, PosesAreHeldToWhatAWordCanCarry) {
    PublishedPose pose;
    EXPECT_EQ(pose.Read(), ActorPose{});
    pose.Publish({-103, 5000, 39, true});
    EXPECT_EQ(pose.Read(), (ActorPose{-103, 5000, 39, true}));
    pose.Publish({INT_MAX, INT_MIN, 1000, false});
    EXPECT_EQ(pose.Read(), (ActorPose{PublishedPose::kPlaceLimit, -PublishedPose::kPlaceLimit, 127, false}));
}

// One thread publishes poses whose parts agree with one another while
// another reads them: every pose read is one that was published whole.
TEST(Actors, PosesAreReadWholeConcurrently) {
    PublishedPose pose;
    constexpr int kPoses = 200000;
    std::thread update([&] {
        for (int i = 0; i < kPoses; ++i) pose.Publish({i, -i, i % 28, i % 2 == 1});
    });
    int torn = 0;
    for (int i = 0; i < kPoses; ++i) {
        const ActorPose read = pose.Read();
        if (read == ActorPose{}) continue;
        torn += read.y != -read.x || read.frame != read.x % 28 || read.distant != (read.x % 2 == 1);
    }
    update.join();
    EXPECT_EQ(torn, 0);
}
