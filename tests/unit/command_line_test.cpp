#include "shell/CommandLine.h"

#include <gtest/gtest.h>

TEST(CommandLine, LongOptionsAreSeparatedFromHostSwitches) {
    const CommandLine line = ParseCommandLine({"/p", "1234", "--window"});
    EXPECT_TRUE(line.window);
    EXPECT_EQ(line.hostArguments, (std::vector<std::string>{"/p", "1234"}));
    EXPECT_FALSE(line.snapshot);
}

TEST(CommandLine, SnapshotTakesTicksSeedAndSize) {
    const CommandLine line =
        ParseCommandLine({"--snapshot", "out.png", "--ticks", "40", "--seed", "7", "--size", "800x600x16"});
    ASSERT_TRUE(line.snapshot);
    EXPECT_EQ(line.snapshot->file, "out.png");
    EXPECT_EQ(line.snapshot->ticks, 40);
    EXPECT_EQ(line.snapshot->seed, 7u);
    EXPECT_EQ(line.snapshot->width, 800);
    EXPECT_EQ(line.snapshot->height, 600);
    EXPECT_EQ(line.snapshot->bitsPerPixel, 16);
    EXPECT_EQ(ParseCommandLine({"--snapshot", "a.png"}).snapshot->width, 1024);
}

TEST(CommandLine, WrongOptionsAreRefusedWithAReason) {
    EXPECT_THROW(ParseCommandLine({"--bogus"}), std::invalid_argument);
    EXPECT_THROW(ParseCommandLine({"--snapshot"}), std::invalid_argument);
    EXPECT_THROW(ParseCommandLine({"--ticks", "5"}), std::invalid_argument);
    EXPECT_THROW(ParseCommandLine({"--snapshot", "a.png", "--ticks", "-1"}), std::invalid_argument);
    EXPECT_THROW(ParseCommandLine({"--snapshot", "a.png", "--size", "800"}), std::invalid_argument);
    EXPECT_THROW(ParseCommandLine({"--snapshot", "a.png", "--size", "800x600x8"}), std::invalid_argument);
    try {
        ParseCommandLine({"--ticks"});
        FAIL();
    } catch (const std::invalid_argument& error) {
        EXPECT_NE(std::string(error.what()).find("--ticks"), std::string::npos);
    }
}

TEST(CommandLine, HostWindowFromSwitchOrEnvironment) {
    EXPECT_EQ(ParseCommandLine({"-window-id", "0x2a00007"}).host->id, 0x2a00007ul);
    EXPECT_EQ(ParseCommandLine({"--window-id", "1234"}, "99").host->id, 1234ul);
    // -root is the host's window when the host names one, else the root.
    EXPECT_EQ(ParseCommandLine({"-root"}, "0x51").host->id, 0x51ul);
    EXPECT_FALSE(ParseCommandLine({"--root"}).host->id);
    EXPECT_FALSE(ParseCommandLine({"-root"}, "").host->id);
    // A host that gives only the environment runs the saver with no switch.
    EXPECT_EQ(ParseCommandLine({"--birds", "3"}, "77").host->id, 77ul);
    EXPECT_FALSE(ParseCommandLine({}).host);
    // Other modes keep their meaning inside a host's session.
    EXPECT_FALSE(ParseCommandLine({"/c"}, "77").host);
    EXPECT_FALSE(ParseCommandLine({"--window"}, "77").host);
    EXPECT_FALSE(ParseCommandLine({"--snapshot", "a.png"}, "77").host);

    for (const char* wrong : {"", "0x", "12ab", "-5", "0", "0x100000000", "0xzz"})
        EXPECT_THROW(ParseCommandLine({"-window-id", wrong}), std::invalid_argument) << wrong;
    EXPECT_THROW(ParseCommandLine({"-window-id"}), std::invalid_argument);
    EXPECT_THROW(ParseCommandLine({"-root"}, "garbage"), std::invalid_argument);
    EXPECT_THROW(ParseCommandLine({"-root", "/c"}), std::invalid_argument);
    EXPECT_THROW(ParseCommandLine({"-window-id", "5", "--window"}), std::invalid_argument);
}

TEST(CommandLine, RunSettingsOverrideOnlyWhatIsGiven) {
    const CommandLine line = ParseCommandLine({"--birds", "0", "--speed", "fast", "--daytime", "demo",
                                               "--clock", "off", "--sound", "on", "--fps", "off"});
    Settings settings;
    settings.gullCount = 7;
    settings.realDaylight = true;
    settings.showClock = true;
    settings.gammaLevel = 200;
    line.overrides.ApplyTo(settings);
    EXPECT_EQ(settings.gullCount, 0);
    EXPECT_EQ(settings.speed, Speed::Fast);
    EXPECT_FALSE(settings.realDaylight);
    EXPECT_TRUE(settings.demoDay);
    EXPECT_FALSE(settings.showClock);
    EXPECT_TRUE(settings.playSound);
    EXPECT_FALSE(settings.showFrameRate);
    EXPECT_EQ(settings.gammaLevel, 200);

    Settings untouched;
    untouched.gullCount = 4;
    untouched.demoDay = true;
    const Settings before = untouched;
    ParseCommandLine({}).overrides.ApplyTo(untouched);
    EXPECT_EQ(untouched, before);
    ParseCommandLine({"--daytime", "off"}).overrides.ApplyTo(untouched);
    EXPECT_FALSE(untouched.realDaylight || untouched.demoDay);

    EXPECT_THROW(ParseCommandLine({"--birds", "11"}), std::invalid_argument);
    EXPECT_THROW(ParseCommandLine({"--speed", "Fast"}), std::invalid_argument);
    EXPECT_THROW(ParseCommandLine({"--clock", "yes"}), std::invalid_argument);
    EXPECT_THROW(ParseCommandLine({"--daytime"}), std::invalid_argument);
}

TEST(CommandLine, WatchIdleTakesItsTimeAndNoOtherMode) {
    const CommandLine line = ParseCommandLine({"--watch-idle", "--after", "90"}, "77");
    EXPECT_TRUE(line.watchIdle);
    EXPECT_EQ(line.idleAfterSeconds, 90);
    EXPECT_FALSE(line.host);  // a host's window in the environment is not the watcher's
    EXPECT_FALSE(ParseCommandLine({"--watch-idle"}).idleAfterSeconds);
    EXPECT_THROW(ParseCommandLine({"--after", "90"}), std::invalid_argument);
    EXPECT_THROW(ParseCommandLine({"--watch-idle", "--after", "0"}), std::invalid_argument);
    EXPECT_THROW(ParseCommandLine({"--watch-idle", "--window"}), std::invalid_argument);
    EXPECT_THROW(ParseCommandLine({"--watch-idle", "/c"}), std::invalid_argument);
    EXPECT_THROW(ParseCommandLine({"--watch-idle", "-root"}), std::invalid_argument);
}
