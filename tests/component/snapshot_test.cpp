#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace {

std::string Contents(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace

// The whole scene after 500 ticks with a fixed seed, made by the real
// program in a process of its own, against the picture checked by eye when
// it was made: any change to layout, actors, drawing, text or lighting
// shows here.
TEST(Snapshot, MatchesTheGoldenPictureOfTheIsland) {
    const auto folder = std::filesystem::temp_directory_path() / "tidereach-golden";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    const auto picture = folder / "island.png";
    const std::string command = "XDG_CONFIG_HOME='" + (folder / "config").string() + "' '" +
                                TIDEREACH_BINARY + "' --snapshot '" + picture.string() +
                                "' --ticks 500 --seed 42 --size 800x600";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    const std::filesystem::path golden =
        std::filesystem::path(TIDEREACH_SOURCE_DIR) / "tests" / "golden" / "island_800x600_t500_s42.png";
    EXPECT_TRUE(Contents(picture) == Contents(golden))
        << "the snapshot differs from " << golden << "; look at " << picture;
}
