#include "platform/Forms.h"
#include "shell/Snapshot.h"

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

// The whole scene after 500 ticks with a fixed seed, against the picture
// checked by eye when it was made: any change to layout, actors, drawing,
// text or lighting shows here.
TEST(Snapshot, MatchesTheGoldenPictureOfTheIsland) {
    const auto folder = std::filesystem::temp_directory_path() / "tidereach-golden";
    std::filesystem::remove_all(folder);
    setenv("XDG_CONFIG_HOME", (folder / "config").c_str(), 1);
    TApplication application;
    SnapshotRequest request;
    request.file = (folder / "island.png").string();
    request.ticks = 500;
    request.seed = 42;
    request.width = 800;
    request.height = 600;
    ASSERT_EQ(RunSnapshot(request), 0);
    const std::filesystem::path golden =
        std::filesystem::path(TIDEREACH_SOURCE_DIR) / "tests" / "golden" / "island_800x600_t500_s42.png";
    EXPECT_TRUE(Contents(request.file) == Contents(golden))
        << "the snapshot differs from " << golden << "; look at " << request.file;
}
