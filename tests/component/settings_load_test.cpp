#include "platform/Forms.h"
#include "platform/Registry.h"
#include "platform/User.h"
#include "platform/headless/Headless.h"
#include "settings/Settings.h"
#include "settings/SettingsStore.h"
#include "tests/unit/ConfigHomeFixture.h"

#include <bit>

namespace {

using platform::headless::DisplayOp;

class SettingsLoad : public ConfigHomeTest {
protected:
    void SetUp() override {
        ConfigHomeTest::SetUp();
        UseDesktop({1280, 1024, 16});
        store.SetCompanyName("Corvane");
        store.SetProductName("Tidereach");
    }
    static void UseDesktop(platform::ScreenMode desktop,
                           std::optional<std::vector<platform::ScreenMode>> offeredModes = std::nullopt) {
        platform::headless::Config config;
        config.desktop = desktop;
        config.offeredModes = offeredModes;
        platform::headless::Install(config);
        platform::headless::ClearFaults();
        platform::headless::ClearShownMessageBoxes();
    }
    Settings Load(LoadVariant variant) {
        Settings settings = variant == LoadVariant::Scene ? ScenePresets() : Settings{};
        LoadSettings(store, settings, variant);
        return settings;
    }
    void RemoveLine(const std::string& name) {
        std::string text = ReadText(KeyFile());
        std::size_t start = text.find("\"" + name + "\"=");
        ASSERT_NE(start, std::string::npos);
        text.erase(start, text.find('\n', start) + 1 - start);
        WriteText(KeyFile(), text);
    }

    SettingsStore store{nullptr};
};

TEST_F(SettingsLoad, AFirstRunWritesEveryDefaultWhereAPersonCanReadIt) {
    Settings scene = Load(LoadVariant::Scene);
    EXPECT_EQ(scene, FirstRunDefaults({1280, 1024, 16}));
    EXPECT_EQ(scene.ColorDepth, 16);  // a first run never raises the depth
    EXPECT_EQ(platform::headless::CallCount(DisplayOp::DirectDrawCreate), 0);
    EXPECT_EQ(scene.RegLat, 50.783333f);
    EXPECT_EQ(ReadText(KeyFile()),
              "REGEDIT4\n\n"
              "[HKEY_CURRENT_USER\\SOFTWARE\\Corvane\\Tidereach]\n"
              "\"flag_PlaySound\"=dword:00000001\n"
              "\"flag_fps\"=dword:00000001\n"
              "\"TermMouse\"=dword:00000001\n"
              "\"Gamma\"=dword:00000100\n"
              "\"flag_defres\"=dword:00000001\n"
              "\"ResHor\"=dword:00000500\n"
              "\"ResVert\"=dword:00000400\n"
              "\"ColorDepth\"=dword:00000010\n"
              "\"clockX\"=dword:000004a6\n"
              "\"clockY\"=dword:0000005a\n"
              "\"clockRad\"=dword:00000046\n"
              "\"ColorClock\"=dword:00ffffff\n"
              "\"SetSpeed\"=dword:00000001\n"
              "\"NumBirds\"=dword:00000007\n"
              "\"FlagShowDolphins\"=dword:00000001\n"
              "\"FlagShowYacht\"=dword:00000001\n"
              "\"FlagDaytime\"=dword:00000000\n"
              "\"FlagDemoDaytime\"=dword:00000001\n"
              "\"FlagShowSimulateTime\"=dword:00000001\n"
              "\"FlagDaylightSavingTime\"=dword:00000000\n"
              "\"RegLat\"=hex:00,00,00,40,44,64,49,40\n"
              "\"RegLng\"=hex:00,00,00,60,66,66,18,40\n"
              "\"RegOfUTC\"=dword:00000001\n"
              "\"ShowRisSet\"=dword:00000001\n"
              "\"IndexCity\"=dword:00000000\n"
              "\"flag_clock\"=dword:00000001\n");
    EXPECT_EQ(Load(LoadVariant::Dialog), scene);  // the next start reads what the first wrote
}

TEST_F(SettingsLoad, OnlyTheSceneRaisesADesktopDepthBelow32) {
    Load(LoadVariant::Dialog);
    EXPECT_EQ(Load(LoadVariant::Scene).ColorDepth, 32);
    EXPECT_EQ(Load(LoadVariant::Dialog).ColorDepth, 16);
    EXPECT_NE(ReadText(KeyFile()).find("\"ColorDepth\"=dword:00000010"), std::string::npos);

    platform::headless::InjectFault(DisplayOp::DirectDrawCreate, DDERR_GENERIC);
    EXPECT_EQ(Load(LoadVariant::Scene).ColorDepth, 16);
    ASSERT_EQ(platform::headless::ShownMessageBoxes().size(), 1u);
    EXPECT_EQ(platform::headless::ShownMessageBoxes()[0].caption, "Screen saver");
    EXPECT_EQ(platform::headless::ShownMessageBoxes()[0].text, "DirectDraw Init FAILED");

    UseDesktop({1280, 1024, 16}, std::vector<platform::ScreenMode>{{1280, 1024, 16}, {800, 600, 24}});
    EXPECT_EQ(Load(LoadVariant::Scene).ColorDepth, 16);
    EXPECT_TRUE(platform::headless::ShownMessageBoxes().empty());

    UseDesktop({1024, 768, 32});
    Settings scene = Load(LoadVariant::Scene);
    EXPECT_EQ(platform::headless::CallCount(DisplayOp::DirectDrawCreate), 0);
    EXPECT_EQ(scene.ResHor, 1024);
    EXPECT_EQ(scene.ResVert, 768);

    // Without the desktop flag the stored mode stands, whatever the screen.
    store.Write("flag_defres", false);
    store.Write("ResHor", 800);
    store.Write("ResVert", 600);
    store.Write("ColorDepth", 24);
    scene = Load(LoadVariant::Scene);
    EXPECT_EQ(scene.ResHor, 800);
    EXPECT_EQ(scene.ResVert, 600);
    EXPECT_EQ(scene.ColorDepth, 24);
}

TEST_F(SettingsLoad, AMissingValueStopsTheLoadWithTheValuesReadSoFar) {
    Load(LoadVariant::Dialog);
    store.Write("SetSpeed", 2);
    store.Write("Gamma", 300);  // out of range values are taken as stored
    RemoveLine("NumBirds");

    Settings scene = ScenePresets();
    RunCreateHandler([&] { LoadSettings(store, scene, LoadVariant::Scene); });
    ASSERT_EQ(platform::headless::ShownMessageBoxes().size(), 1u);
    EXPECT_EQ(platform::headless::ShownMessageBoxes()[0].caption, Application->Title);
    EXPECT_EQ(platform::headless::ShownMessageBoxes()[0].text, "Failed to get data for 'NumBirds'");
    EXPECT_EQ(scene.Gamma, 300);
    EXPECT_EQ(scene.SetSpeed, 2);
    EXPECT_EQ(scene.NumBirds, 7);
    EXPECT_FALSE(scene.FlagShowDolphins);
    EXPECT_TRUE(scene.FlagDemoDaytime);

    // Only the dialog reads the city's position.
    store.Write("NumBirds", 3);
    RemoveLine("IndexCity");
    EXPECT_EQ(Load(LoadVariant::Scene).NumBirds, 3);
    EXPECT_THROW(Load(LoadVariant::Dialog), SettingsStoreError);
}

// Savers started at once on a first run (one per screen): each finds either
// no settings and writes the same defaults, or all of them.
TEST_F(SettingsLoad, SaversStartedTogetherOnAFirstRunAllReadWholeSettings) {
    constexpr int kRounds = 20;
    constexpr int kSavers = 4;
    for (int round = 0; round < kRounds; ++round) {
        std::filesystem::remove_all(Home() / "Corvane");
        int gate[2];
        ASSERT_EQ(pipe(gate), 0);
        std::vector<pid_t> savers;
        for (int i = 0; i < kSavers; ++i) {
            savers.push_back(Spawn([&] {
                close(gate[1]);
                char go;
                if (read(gate[0], &go, 1) != 0) return 3;
                try {
                    Load(LoadVariant::Scene);
                    return 0;
                } catch (const SettingsStoreError&) {
                    return 1;
                }
            }));
        }
        close(gate[0]);
        close(gate[1]);  // all start together
        for (pid_t saver : savers) EXPECT_EQ(Wait(saver), 0) << "round " << round;
        EXPECT_EQ(Load(LoadVariant::Dialog), FirstRunDefaults({1280, 1024, 16}));
    }
}

TEST_F(SettingsLoad, WithoutAPlaceToStoreThemTheDefaultsServeInMemory) {
    WriteText(Home() / "file", "");
    setenv("XDG_CONFIG_HOME", (Home() / "file").c_str(), 1);
    EXPECT_EQ(Load(LoadVariant::Scene), FirstRunDefaults({1280, 1024, 16}));
    EXPECT_TRUE(platform::headless::ShownMessageBoxes().empty());
}

}  // namespace
