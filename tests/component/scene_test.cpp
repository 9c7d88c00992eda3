#include "platform/backends/headless/Headless.h"
#include "platform/winapi/Kernel.h"
#include "platform/winapi/MMSystem.h"
#include "platform/winapi/Registry.h"
#include "platform/winapi/User.h"
#include "scene/SceneForm.h"
#include "tests/unit/ScratchFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

namespace {

// A scene on a headless screen with its own empty settings folder.
class Scene : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("XDG_CONFIG_HOME", folder.Path().c_str(), 1);
        platform::SetAudioOutputEnabled(false);
        platform::headless::ClearShownMessageBoxes();
    }
    void TearDown() override { platform::headless::ClearFaults(); }
    SceneForm* Start(int width, int height, int depth = 32) {
        platform::headless::Install({{width, height, depth}, 1, true});
        application.reset();  // applications nest: the older one must go first
        application = std::make_unique<TApplication>();
        application->Initialize();
        return application->CreateForm<SceneForm>(SceneOptions{12345u, true, {}});
    }
    std::filesystem::path StoreFile() const { return folder / "Corvane" / "Tidereach.reg"; }
    void EditStore(const std::string& pattern, const std::string& replacement) {
        std::ifstream in(StoreFile());
        std::stringstream text;
        text << in.rdbuf();
        in.close();
        std::ofstream(StoreFile()) << std::regex_replace(text.str(), std::regex(pattern), replacement);
    }

    ScratchFolder folder;
    std::unique_ptr<TApplication> application;
};

struct Box {
    int x, y, w, h;
    friend bool operator==(const Box&, const Box&) = default;
};
Box PlaceOf(const Drawable& drawable) {
    return {drawable.X(), drawable.Y(), drawable.StretchWidth(), drawable.StretchHeight()};
}

}  // namespace

TEST_F(Scene, LayersAreLaidOutFor800x600) {
    SceneForm* scene = Start(800, 600);
    EXPECT_EQ(PlaceOf(scene->ground), (Box{0, 0, 800, 408}));
    EXPECT_EQ(PlaceOf(scene->highWater), (Box{0, 394, 800, 92}));
    EXPECT_EQ(PlaceOf(scene->lowWater), (Box{189, 485, 611, 115}));
    EXPECT_EQ(PlaceOf(scene->stones), (Box{0, 356, 800, 245}));
    EXPECT_EQ(PlaceOf(scene->palmMask), (Box{29, 192, 41, 165}));
    EXPECT_EQ(scene->yacht.StretchWidth(), 31);
    EXPECT_EQ(scene->dolphins[0].StretchWidth(), 44);
    EXPECT_EQ(scene->dolphins[0].StretchHeight(), 20);
    EXPECT_EQ(scene->highWater.frameCount, 32);
    EXPECT_EQ(scene->lowWater.frameCount, 32);
    EXPECT_EQ(scene->nearGulls.frameCount, 40);
    EXPECT_EQ(scene->yacht.frameCount, 28);
    EXPECT_EQ(scene->dolphins[0].frameCount, 19);
    EXPECT_TRUE(platform::headless::ShownMessageBoxes().empty());
}

TEST_F(Scene, LayersScaleWithTheMode) {
    SceneForm* scene = Start(1024, 768);
    EXPECT_EQ(PlaceOf(scene->ground), (Box{0, 0, 1024, 522}));
    EXPECT_EQ(PlaceOf(scene->highWater), (Box{0, 504, 1024, 117}));
    EXPECT_EQ(PlaceOf(scene->lowWater), (Box{241, 620, 782, 147}));
    EXPECT_EQ(PlaceOf(scene->stones), (Box{0, 455, 1024, 313}));
    EXPECT_EQ(PlaceOf(scene->palmMask), (Box{37, 245, 52, 211}));
    EXPECT_EQ(scene->yacht.StretchWidth(), 39);
    EXPECT_EQ(PlaceOf(scene->dolphins[0]), (Box{512, 499, 56, 25}));
    EXPECT_EQ(scene->nearGulls.StretchWidth(), 18);
    EXPECT_EQ(scene->nearGulls.StretchHeight(), 6);
    EXPECT_EQ(scene->farGulls.StretchWidth(), 15);
    EXPECT_EQ(scene->farGulls.StretchHeight(), 5);
}

TEST_F(Scene, FirstRunStoresTheDefaultsAndStartsTheSound) {
    SceneForm* scene = Start(1024, 768);
    EXPECT_EQ(scene->settings.clockCentreX, 1024 - 90);
    EXPECT_TRUE(std::filesystem::exists(StoreFile()));
    const auto sound = platform::LastPlaySoundCall();
    ASSERT_TRUE(sound);
    EXPECT_EQ(sound->sound, "SoundName");
    EXPECT_EQ(sound->flags, SND_RESOURCE | SND_ASYNC | SND_LOOP);
    scene->CloseSaver();
    EXPECT_FALSE(platform::LastPlaySoundCall()->sound);
}

TEST_F(Scene, TicksMoveTheWaterAndTheCounter) {
    SceneForm* scene = Start(800, 600);
    for (int tick = 0; tick < 31; ++tick) scene->UpdatePass(scene);
    EXPECT_EQ(scene->waterFrame, 31);
    scene->UpdatePass(scene);
    EXPECT_EQ(scene->waterFrame, 0);
    for (int tick = 32; tick < 1100; ++tick) scene->UpdatePass(scene);
    EXPECT_EQ(scene->tickCount, 1100);
    scene->UpdatePass(scene);
    EXPECT_EQ(scene->tickCount, 0);
    // Demo day: noon at the start, 50 simulated seconds a tick.
    EXPECT_EQ(scene->dayTime, 236 * 50);  // 864 ticks to midnight, one to wrap, 236 after
}

TEST_F(Scene, RenderPassDrawsTheIslandAndFlipsOnce) {
    SceneForm* scene = Start(800, 600);
    const int before = platform::headless::PresentedFrameCount();
    bool done = true;
    Application->OnIdle(scene, done);
    EXPECT_FALSE(done);
    EXPECT_EQ(platform::headless::PresentedFrameCount(), before + 1);
    const auto frame = platform::headless::LastPresentedFrame();
    ASSERT_TRUE(frame);
    // The sky near the top is bright and blue-ish, the bottom left is shore.
    const std::uint32_t sky = frame->At(400, 20);
    EXPECT_GT(sky & 0xFF, (sky >> 16) & 0xFF);
    EXPECT_NE(frame->At(50, 580), 0u);
}

// The update pass writes an actor's fields one by one on the timer's thread;
// a frame drawn half-way through must still show each actor as one whole
// tick left it.
TEST_F(Scene, AFrameDrawsEachActorFromOneWholeTick) {
    SceneForm* scene = Start(800, 600);
    while (scene->actors.yacht.leg != YachtLeg::SailingIn) scene->UpdatePass(scene);
    const int sailingX = scene->actors.yacht.x;
    bool done = true;
    // Half-way through the tick that ends the sailing in: no leg set yet.
    scene->actors.yacht.leg = YachtLeg::Idle;
    scene->yacht.SetX(-1);
    Application->OnIdle(scene, done);
    EXPECT_EQ(scene->yacht.Frame(), 0);
    EXPECT_EQ(scene->yacht.X(), sailingX);
    // Half-way through the tick that ends the turn: a frame the strip lacks.
    scene->actors.yacht.leg = YachtLeg::Turning;
    scene->actors.yacht.turnFrame = 28;
    Application->OnIdle(scene, done);
    EXPECT_EQ(scene->yacht.Frame(), 0);
}

TEST_F(Scene, TooManyBirdsAreHeldToTheTable) {
    Start(800, 600)->CloseSaver();
    EditStore("\"NumBirds\"=dword:[0-9a-f]+", "\"NumBirds\"=dword:00000028");
    SceneForm* scene = Start(800, 600);
    EXPECT_EQ(scene->settings.gullCount, 40);
    for (int tick = 0; tick < 10; ++tick) scene->UpdatePass(scene);
    bool done = true;
    Application->OnIdle(scene, done);  // no record beyond the ten is touched
    SUCCEED();
}

// The sun-time lines on dates of the local clock: the first city of the
// table, then a polar place in its polar day and its polar night.
TEST_F(Scene, SunTimeLinesReadAsA12HourClockOrSayThereIsNone) {
    auto onDate = [&](WORD month, WORD day) {
        platform::headless::SetLocalTime(SYSTEMTIME{2003, month, 0, day, 12, 0, 0, 0});
        SceneForm* scene = Start(800, 600);
        std::pair lines{scene->display.TextLine(1), scene->display.TextLine(2)};
        scene->CloseSaver();
        return lines;
    };
    using Lines = std::pair<std::string, std::string>;
    EXPECT_EQ(onDate(6, 21), Lines("Sunrise at: 4:21AM", "Sunset at: 8:52PM"));

    EditStore("\"RegLat\"=hex:[0-9a-f,]+", "\"RegLat\"=hex:00,00,00,00,00,80,53,40");  // 78 north
    EditStore("\"RegLng\"=hex:[0-9a-f,]+", "\"RegLng\"=hex:00,00,00,00,00,00,2e,40");  // 15 east
    const std::string day = "none (the sun never sets on this location)";
    const std::string night = "none (the sun never rises on this location)";
    EXPECT_EQ(onDate(6, 21), Lines("Sunrise at: " + day, "Sunset at: " + day));
    EXPECT_EQ(onDate(12, 21), Lines("Sunrise at: " + night, "Sunset at: " + night));
    platform::headless::SetLocalTime(std::nullopt);
    EXPECT_TRUE(platform::headless::ShownMessageBoxes().empty());
}

TEST_F(Scene, MissingSettingStopsTheSetUpWithOneBoxAndEnds) {
    Start(800, 600)->CloseSaver();
    EditStore("\"NumBirds\"=dword:[0-9a-f]+\r?\n", "");
    platform::headless::ClearShownMessageBoxes();
    SceneForm* scene = Start(800, 600);
    EXPECT_EQ(scene->settings.speed, Speed::Normal);  // read before the missing value
    EXPECT_TRUE(scene->Closed());
    application->Run();  // ends at once, drawing nothing
    EXPECT_EQ(platform::headless::PresentedFrameCount(), 0);
    const auto boxes = platform::headless::ShownMessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Failed to get data for 'NumBirds'");
}

TEST_F(Scene, RefusedDisplayModeShowsOneErrorAndEnds) {
    Start(800, 600)->CloseSaver();
    EditStore("\"flag_defres\"=dword:[0-9a-f]+", "\"flag_defres\"=dword:00000000");
    EditStore("\"ResHor\"=dword:[0-9a-f]+", "\"ResHor\"=dword:000003e7");
    platform::headless::ClearShownMessageBoxes();
    Start(800, 600);
    application->Run();
    const auto boxes = platform::headless::ShownMessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "ERROR");
    EXPECT_EQ(boxes[0].text, "Error SetDisplayMode");
}
