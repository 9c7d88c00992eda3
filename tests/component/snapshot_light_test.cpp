#include "tests/unit/ScratchFolder.h"

#include <gtest/gtest.h>

#include <png.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<png_byte> rgb;
};

struct Means {
    double red, green, blue;
    double Brightness() const { return (red + green + blue) / 3; }
};

// Snapshots made by the real program, with settings written into its store
// beforehand, as a user would.
class SnapshotLight : public ::testing::Test {
protected:
    void SetUp() override {
        Snapshot("first-run", 0);  // stores the defaults
    }

    void Store(const std::string& name, int value) {
        const auto file = folder / "config" / "Corvane" / "Tidereach.reg";
        std::ifstream in(file);
        std::stringstream text;
        text << in.rdbuf();
        in.close();
        char dword[16];
        std::snprintf(dword, sizeof dword, "%08x", unsigned(value));
        const std::regex line("\"" + name + "\"=dword:[0-9a-f]{8}");
        ASSERT_TRUE(std::regex_search(text.str(), line)) << name << " is not in the store";
        std::ofstream(file) << std::regex_replace(text.str(), line, "\"" + name + "\"=dword:" + dword);
    }

    Picture Snapshot(const std::string& name, int ticks) {
        const auto file = folder / (name + ".png");
        const std::string command = "XDG_CONFIG_HOME='" + (folder / "config").string() + "' '" +
                                    TIDEREACH_BINARY + "' --snapshot '" + file.string() + "' --ticks " +
                                    std::to_string(ticks) + " --seed 7 --size 800x600";
        Picture picture;
        EXPECT_EQ(std::system(command.c_str()), 0) << command;
        png_image image{};
        image.version = PNG_IMAGE_VERSION;
        if (!png_image_begin_read_from_file(&image, file.c_str())) {
            ADD_FAILURE() << "cannot read " << file;
            return picture;
        }
        image.format = PNG_FORMAT_RGB;
        picture.rgb.resize(PNG_IMAGE_SIZE(image));
        EXPECT_TRUE(png_image_finish_read(&image, nullptr, picture.rgb.data(), 0, nullptr));
        picture.width = int(image.width);
        picture.height = int(image.height);
        return picture;
    }

    ScratchFolder folder;
};

Means MeansOf(const Picture& picture) {
    std::array<double, 3> sums{};
    for (std::size_t i = 0; i < picture.rgb.size(); ++i) sums[i % 3] += picture.rgb[i];
    const double pixels = double(picture.rgb.size() / 3);
    return {sums[0] / pixels, sums[1] / pixels, sums[2] / pixels};
}

}  // namespace

// The stored level darkens the snapshot through the same ramp as the screen:
// with 128 every channel of every pixel is half its unchanged value.
TEST_F(SnapshotLight, GammaLevelScalesEveryChannel) {
    Store("FlagDaytime", 0);
    Store("FlagDemoDaytime", 0);
    Store("Gamma", 256);
    const Picture full = Snapshot("full", 40);
    Store("Gamma", 128);
    const Picture half = Snapshot("half", 40);
    ASSERT_EQ(full.rgb.size(), half.rgb.size());
    ASSERT_EQ(full.rgb.size(), 800u * 600u * 3u);
    std::size_t wrong = 0;
    for (std::size_t i = 0; i < full.rgb.size(); ++i) wrong += half.rgb[i] != full.rgb[i] / 2;
    EXPECT_EQ(wrong, 0u);
    EXPECT_GT(MeansOf(full).Brightness(), 100.0) << "the unchanged picture is not the lit island";
    EXPECT_NEAR(MeansOf(half).Brightness() / MeansOf(full).Brightness(), 0.5, 0.01);
}

// The demo day starts at noon and runs 50 simulated seconds a tick; for the
// stored city (sunrise 4:21, sunset 20:52 on the snapshot's date) it passes
// day, dusk, night, midnight, dawn and day again. Each channel's mean, held
// against the plain day, shows the lighting's colour at that moment.
TEST_F(SnapshotLight, DemoDayPassesThroughDuskNightAndDawn) {
    Store("FlagDaytime", 0);
    Store("FlagDemoDaytime", 1);
    const Means day = MeansOf(Snapshot("day", 100));           // 13:23
    const Means dusk = MeansOf(Snapshot("dusk", 638));         // 20:51, just before sunset
    const Means night = MeansOf(Snapshot("night", 792));       // 23:00
    const Means dawn = MeansOf(Snapshot("dawn", 1178));        // 4:20, just before sunrise
    const Means morning = MeansOf(Snapshot("morning", 1500));  // 8:49, full day again

    struct Moment {
        const char* name;
        Means means;
        std::array<double, 3> levels;  // the lighting's levels of 255
    };
    for (const Moment& moment :
         {Moment{"dusk", dusk, {182, 112, 84}}, Moment{"night", night, {40, 50, 70}},
          Moment{"dawn", dawn, {117, 70, 93}}, Moment{"morning", morning, {255, 255, 255}}}) {
        SCOPED_TRACE(moment.name);
        EXPECT_NEAR(moment.means.red / day.red, moment.levels[0] / 255, 0.03);
        EXPECT_NEAR(moment.means.green / day.green, moment.levels[1] / 255, 0.03);
        EXPECT_NEAR(moment.means.blue / day.blue, moment.levels[2] / 255, 0.03);
    }

    EXPECT_GT(day.Brightness(), 120.0);
    EXPECT_LT(night.Brightness(), 0.3 * day.Brightness()) << "night is dark";
    EXPECT_GT(night.blue, night.green);
    EXPECT_GT(night.green, night.red);
    EXPECT_GT(dawn.red, dawn.green) << "dawn is violet";
    EXPECT_GT(dawn.blue, dawn.green) << "dawn is violet";
    EXPECT_GT(dusk.red, dusk.green) << "dusk is orange";
    EXPECT_GT(dusk.green, dusk.blue) << "dusk is orange";
    for (const Means& other : {dusk, night, dawn}) EXPECT_LT(other.Brightness(), day.Brightness());
}
