#include "scene/Actors.h"

#include <gtest/gtest.h>

#include <set>

namespace {

// A generator whose next draws are known: the state is set so that the
// following draw gives `value` modulo what is asked.
RandomGenerator SeededAt(std::uint32_t state) {
    RandomGenerator random;
    random.Seed(state);
    return random;
}

const SceneGeometry k800x600{800, 600, 800};

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

TEST(Birds, StartValuesFollowTheirIndex) {
    Gulls birds;
    StartBirds(birds, SceneGeometry{1024, 768, 1024});
    EXPECT_EQ(birds[0].X, 128);
    EXPECT_EQ(birds[3].X, 128 + 150);
    EXPECT_EQ(birds[3].Y, 384 + 30);
    EXPECT_EQ(birds[5].Speed, 2);
    EXPECT_EQ(birds[5].SpeedPeriod, 25);
    EXPECT_EQ(birds[5].ClimbPeriod, 20);
    EXPECT_EQ(birds[5].Small, 1);
    EXPECT_EQ(birds[4].Small, 0);
    EXPECT_EQ(birds[9].Flap, 1);
}

TEST(Birds, SpeedClassStaysWithinOneToFive) {
    for (int speed : {1, 5}) {
        for (std::uint32_t seed = 0; seed < 64; ++seed) {
            Gull bird;
            bird.X = 400;
            bird.Y = 300;
            bird.Speed = speed;
            bird.SpeedPeriod = 0;
            bird.Climb = 2;
            bird.ClimbPeriod = 1000;
            bird.FlapPeriod = 1000;
            RandomGenerator random = SeededAt(seed);
            MoveBird(bird, k800x600, random);
            EXPECT_EQ(bird.Speed, speed == 1 ? 2 : 4);
        }
    }
}

TEST(Birds, LeavingOnTheLeftTurnsAndSwitchesDistance) {
    Gull bird;
    bird.X = -98;
    bird.Y = 300;
    bird.Speed = 1;
    bird.SpeedPeriod = 1000;
    bird.Climb = 2;
    bird.ClimbPeriod = 1000;
    bird.FlapPeriod = 1000;
    bird.Small = 0;
    RandomGenerator random = SeededAt(3);
    MoveBird(bird, k800x600, random);
    EXPECT_EQ(bird.X, -101);
    EXPECT_EQ(bird.Small, 1);
    EXPECT_EQ(bird.Speed, 5);
    EXPECT_GE(bird.SpeedPeriod, 100);
    EXPECT_LT(bird.SpeedPeriod, 180);
    MoveBird(bird, k800x600, random);
    EXPECT_EQ(bird.X, -98);
}

TEST(Birds, GlidingPoseHoldsWhileSinkingWithoutFlapping) {
    Gull bird;
    bird.X = 400;
    bird.Y = 300;
    bird.Speed = 3;
    bird.SpeedPeriod = 1000;
    bird.Climb = 2;
    bird.ClimbPeriod = 1000;
    bird.Flap = 0;
    bird.FlapPeriod = 1000;
    RandomGenerator random = SeededAt(1);
    for (int tick = 0; tick < 12; ++tick) {
        MoveBird(bird, k800x600, random);
        EXPECT_EQ(bird.Frame, 17);
    }
    bird.Flap = 1;
    for (int tick = 0; tick < 8; ++tick) {
        MoveBird(bird, k800x600, random);
        EXPECT_EQ(bird.Frame, 16 + bird.FlapCount % 8);
    }
}

TEST(Birds, StayInTheirBand) {
    Gulls birds;
    StartBirds(birds, k800x600);
    RandomGenerator random = SeededAt(42);
    for (int tick = 0; tick < 5000; ++tick) {
        for (Gull& bird : birds) {
            MoveBird(bird, k800x600, random);
            ASSERT_GE(bird.Y, 220 - 1);
            ASSERT_LE(bird.Y, 400 + 1);
            ASSERT_GE(bird.Frame, 0);
            ASSERT_LE(bird.Frame, 39);
        }
    }
}

TEST(Yacht, VisitSailsInTurnsAndSailsOut) {
    Yacht yacht;
    RandomGenerator random = SeededAt(5);
    StartYacht(yacht, random);
    yacht.YachtPeriod = 3;
    int tick = 1;
    while (yacht.Idle()) StepYacht(yacht, tick++, k800x600, random);
    EXPECT_EQ(tick - 1, 3);  // the first visit starts on tick 3 or 4
    yacht.YachtStopX = 300;  // as if random(450) had given 0
    std::set<int> turnFrames;
    int inTicks = 0, outMoves = 0;
    while (!yacht.Idle()) {
        const bool sailingIn = yacht.YachtIn >= 0;
        const int outBefore = yacht.YachtOut;
        StepYacht(yacht, tick++, k800x600, random);
        if (sailingIn) ++inTicks;
        if (yacht.YachtTurn >= 0) turnFrames.insert(yacht.YachtTurn);
        if (yacht.YachtOut >= 0 ? yacht.YachtOut != outBefore : outBefore > 0) ++outMoves;
    }
    EXPECT_EQ(yacht.YachtStopOffset, 501);
    EXPECT_EQ(inTicks, 1500);  // plus the three ticks before the visit began
    EXPECT_EQ(turnFrames.size(), 27u);
    EXPECT_EQ(*turnFrames.begin(), 1);
    EXPECT_EQ(*turnFrames.rbegin(), 27);
    EXPECT_EQ(outMoves, 501);
    EXPECT_EQ(yacht.ShowX, 800);
    EXPECT_GE(yacht.YachtPeriod, 60);
}

TEST(Yacht, DrawnFrameFollowsThePhase) {
    Yacht yacht;
    EXPECT_EQ(yacht.DrawnFrame(), -1);
    yacht.YachtIn = 4;
    EXPECT_EQ(yacht.DrawnFrame(), 0);
    yacht.YachtIn = -1;
    yacht.YachtTurn = 9;
    EXPECT_EQ(yacht.DrawnFrame(), 9);
    yacht.YachtTurn = -1;
    yacht.YachtOut = 9;
    EXPECT_EQ(yacht.DrawnFrame(), 27);
}

TEST(Dolphins, LeapLastsNineteenTicksAtOnePlace) {
    Dolphin dolphin;
    RandomGenerator random = SeededAt(9);
    StartDolphin(dolphin, random);
    EXPECT_GE(dolphin.DolphinPeriod, 50);
    EXPECT_LT(dolphin.DolphinPeriod, 350);
    StepDolphin(dolphin, 0, k800x600, random);  // 0 is a multiple of every period
    ASSERT_EQ(dolphin.DolphinFrame, 0);
    const int x = dolphin.ShowX, y = dolphin.ShowY;
    EXPECT_GE(x, 10);
    EXPECT_LE(x, 809);
    EXPECT_GE(y, 380);
    EXPECT_LE(y, 419);
    for (int frame = 1; frame <= 18; ++frame) {
        StepDolphin(dolphin, frame, k800x600, random);
        EXPECT_EQ(dolphin.DolphinFrame, frame);
        EXPECT_EQ(dolphin.ShowX, x);
    }
    StepDolphin(dolphin, 19, k800x600, random);
    EXPECT_EQ(dolphin.DolphinFrame, -1);
    dolphin.DolphinPeriod = 1;
    StepDolphin(dolphin, 20, k800x600, random);
    EXPECT_EQ(dolphin.DolphinFrame, 0);
}
