#include "platform/backends/headless/Headless.h"
#include "platform/forms/Forms.h"
#include "platform/winapi/Registry.h"
#include "platform/winapi/User.h"
#include "settings/Settings.h"
#include "settings/SettingsStore.h"
#include "tests/unit/ConfigHomeFixture.h"

#include <bit>
#include <chrono>
#include <thread>
#include <variant>

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
    EXPECT_EQ(scene.bitsPerPixel, 16);  // a first run never raises the depth
    EXPECT_EQ(platform::headless::CallCount(DisplayOp::DirectDrawCreate), 0);
    EXPECT_EQ(scene.latitude, 50.783333f);
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
    EXPECT_EQ(Load(LoadVariant::Scene).bitsPerPixel, 32);
    EXPECT_EQ(Load(LoadVariant::Dialog).bitsPerPixel, 16);
    EXPECT_NE(ReadText(KeyFile()).find("\"ColorDepth\"=dword:00000010"), std::string::npos);

    platform::headless::InjectFault(DisplayOp::DirectDrawCreate, DDERR_GENERIC);
    EXPECT_EQ(Load(LoadVariant::Scene).bitsPerPixel, 16);
    ASSERT_EQ(platform::headless::ShownMessageBoxes().size(), 1u);
    EXPECT_EQ(platform::headless::ShownMessageBoxes()[0].caption, "Screen saver");
    EXPECT_EQ(platform::headless::ShownMessageBoxes()[0].text, "DirectDraw Init FAILED");

    UseDesktop({1280, 1024, 16}, std::vector<platform::ScreenMode>{{1280, 1024, 16}, {800, 600, 24}});
    EXPECT_EQ(Load(LoadVariant::Scene).bitsPerPixel, 16);
    EXPECT_TRUE(platform::headless::ShownMessageBoxes().empty());

    UseDesktop({1024, 768, 32});
    Settings scene = Load(LoadVariant::Scene);
    EXPECT_EQ(platform::headless::CallCount(DisplayOp::DirectDrawCreate), 0);
    EXPECT_EQ(scene.width, 1024);
    EXPECT_EQ(scene.height, 768);

    // Without the desktop flag the stored mode stands, whatever the screen.
    store.Write("flag_defres", false);
    store.Write("ResHor", 800);
    store.Write("ResVert", 600);
    store.Write("ColorDepth", 24);
    scene = Load(LoadVariant::Scene);
    EXPECT_EQ(scene.width, 800);
    EXPECT_EQ(scene.height, 600);
    EXPECT_EQ(scene.bitsPerPixel, 24);
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
    EXPECT_EQ(scene.gammaLevel, 300);
    EXPECT_EQ(scene.speed, Speed::Fast);
    EXPECT_EQ(scene.gullCount, 7);
    EXPECT_FALSE(scene.showDolphins);
    EXPECT_TRUE(scene.demoDay);

    // Only the dialog reads the city's position.
    store.Write("NumBirds", 3);
    RemoveLine("IndexCity");
    EXPECT_EQ(Load(LoadVariant::Scene).gullCount, 3);
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

// The first run's values in the order it writes them, the marker last: what a
// cut-short run may have left (on another screen, so unlike the defaults),
// and the default on this test's 1280x1024 desktop at 16 bits.
using AnyValue = std::variant<bool, int, float>;
struct FirstRunWrite {
    const char* name;
    AnyValue leftBehind;
    AnyValue byDefault;
};
const FirstRunWrite kFirstRunWrites[] = {
    {"flag_PlaySound", false, true},
    {"flag_fps", false, true},
    {"TermMouse", false, true},
    {"Gamma", 128, 256},
    {"flag_defres", false, true},
    {"ResHor", 800, 1280},
    {"ResVert", 600, 1024},
    {"ColorDepth", 24, 16},
    {"clockX", 710, 1190},
    {"clockY", 100, 90},
    {"clockRad", 80, 70},
    {"ColorClock", 0x00FF00, 0xFFFFFF},
    {"SetSpeed", 2, 1},
    {"NumBirds", 3, 7},
    {"FlagShowDolphins", false, true},
    {"FlagShowYacht", false, true},
    {"FlagDaytime", true, false},
    {"FlagDemoDaytime", false, true},
    {"FlagShowSimulateTime", false, true},
    {"FlagDaylightSavingTime", true, false},
    {"RegLat", 10.5f, 50.783333f},
    {"RegLng", -20.25f, 6.1f},
    {"RegOfUTC", -3, 1},
    {"ShowRisSet", false, true},
    {"IndexCity", 42, 0},
    {"flag_clock", false, true},
};
constexpr int kValuesBeforeTheMarker = 25;

// Writes the first `count` values one by one, as the registry takes them.
void WriteOneByOne(SettingsStore& store, int count) {
    for (int i = 0; i < count; ++i) {
        std::visit([&](auto value) { store.Write(kFirstRunWrites[i].name, value); },
                   kFirstRunWrites[i].leftBehind);
    }
}

// The value as stored, of the type of `like`; nullopt when it does not read.
std::optional<AnyValue> StoredValue(SettingsStore& store, const char* name, const AnyValue& like) {
    try {
        return std::visit(
            [&](auto kind) -> std::optional<AnyValue> {
                decltype(kind) value{};
                if (!store.Read(name, &value)) return std::nullopt;
                return AnyValue(value);
            },
            like);
    } catch (const SettingsStoreError&) {
        return std::nullopt;
    }
}

// A first run stopped after each of its writes in turn (the key made, then
// value after value), whether as the registry or an earlier release writes
// it: the next start completes the key. All 26 cases run side by side, each
// in a home of its own, as each waits for a writer that may still be at work.
TEST_F(SettingsLoad, AFirstRunStoppedAfterAnyOfItsWritesIsCompletedByTheNextStart) {
    auto homeAfter = [&](int writes) { return Home() / ("after-" + std::to_string(writes)); };
    std::vector<pid_t> nextStarts;
    for (int writes = 0; writes <= kValuesBeforeTheMarker; ++writes) {
        nextStarts.push_back(Spawn([&] {
            setenv("XDG_CONFIG_HOME", homeAfter(writes).c_str(), 1);
            HKEY key = nullptr;
            RegCreateKeyExA(HKEY_CURRENT_USER, "SOFTWARE\\Corvane\\Tidereach", 0, nullptr,
                            REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &key, nullptr);
            RegCloseKey(key);
            WriteOneByOne(store, writes);
            try {
                Load(LoadVariant::Scene);
                return 0;
            } catch (const SettingsStoreError&) {
                return 1;
            }
        }));
    }
    for (int writes = 0; writes <= kValuesBeforeTheMarker; ++writes) {
        ASSERT_EQ(Wait(nextStarts[std::size_t(writes)]), 0) << "stopped after " << writes << " values";
        setenv("XDG_CONFIG_HOME", homeAfter(writes).c_str(), 1);
        for (int i = 0; i <= kValuesBeforeTheMarker; ++i) {
            const FirstRunWrite& value = kFirstRunWrites[i];
            EXPECT_EQ(StoredValue(store, value.name, value.byDefault),
                      i < writes ? value.leftBehind : value.byDefault)
                << value.name << " after " << writes << " values";
        }
        const std::string text = ReadText(homeAfter(writes) / "Corvane" / "Tidereach.reg");
        EXPECT_TRUE(text.ends_with("\"flag_clock\"=dword:00000001\n")) << "the marker goes last";
    }
}

TEST_F(SettingsLoad, AFirstRunsValuesLandInTheFileWholeOrNotAtAll) {
    for (int round = 0; round < 20; ++round) {
        std::filesystem::remove_all(Home() / "Corvane");
        pid_t firstRun = Spawn([&] {
            Load(LoadVariant::Scene);
            return 0;
        });
        int status = 0;
        while (waitpid(firstRun, &status, WNOHANG) == 0) {
            const std::string text = ReadText(KeyFile());
            const auto values = std::count(text.begin(), text.end(), '=');
            ASSERT_TRUE(values == 0 || values == 26) << values << " values in round " << round;
        }
    }
}

// A peer's first run that writes value by value, more slowly than the
// registry ever does: the start meanwhile waits for the marker and loads the
// peer's values, instead of completing the key with its own.
TEST_F(SettingsLoad, AKeyAPeerIsStillWritingIsWaitedFor) {
    int gate[2];
    ASSERT_EQ(pipe(gate), 0);
    pid_t peer = Spawn([&] {
        close(gate[0]);
        for (int count = 1; count <= kValuesBeforeTheMarker + 1; ++count) {
            WriteOneByOne(store, count);
            if (count == 2) close(gate[1]);  // the key is there, two values in it
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        return 0;
    });
    close(gate[1]);
    char nothing;
    ASSERT_EQ(read(gate[0], &nothing, 1), 0);
    close(gate[0]);
    Settings loaded;
    LoadSettings(store, loaded, LoadVariant::Dialog);
    EXPECT_EQ(Wait(peer), 0);
    EXPECT_FALSE(loaded.showClock);
    EXPECT_EQ(loaded.gullCount, 3);
    EXPECT_EQ(loaded.cityIndex, 42);
}

// A key without its marker that holds a value that does not read is damaged,
// not cut short: reported as before, and left as it is.
TEST_F(SettingsLoad, AKeyWithoutItsMarkerAndADamagedValueIsReported) {
    Load(LoadVariant::Scene);
    RemoveLine("flag_clock");
    std::string text = ReadText(KeyFile());
    text.replace(text.find("\"NumBirds\"=dword:00000007"), 26, "\"NumBirds\"=\"seven\"");
    WriteText(KeyFile(), text);
    try {
        Load(LoadVariant::Scene);
        ADD_FAILURE() << "the damaged key loaded";
    } catch (const SettingsStoreError& error) {
        EXPECT_STREQ(error.what(), "Failed to get data for 'flag_clock'");
    }
    EXPECT_EQ(ReadText(KeyFile()), text);
}

TEST_F(SettingsLoad, WithoutAPlaceToStoreThemTheDefaultsServeInMemory) {
    WriteText(Home() / "file", "");
    setenv("XDG_CONFIG_HOME", (Home() / "file").c_str(), 1);
    EXPECT_EQ(Load(LoadVariant::Scene), FirstRunDefaults({1280, 1024, 16}));
    EXPECT_TRUE(platform::headless::ShownMessageBoxes().empty());
}

}  // namespace
