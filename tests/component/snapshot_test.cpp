#include "tests/unit/ScratchFolder.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>

namespace {

std::string Contents(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Runs the program's snapshot with a settings store of the given text; the
// exit status, or 128 and the signal that ended it.
int SnapshotWithStore(const std::filesystem::path& folder, const std::string& store, int ticks) {
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder / "config" / "Corvane");
    std::ofstream(folder / "config" / "Corvane" / "Tidereach.reg", std::ios::binary) << store;
    const std::string command = "XDG_CONFIG_HOME='" + (folder / "config").string() + "' '" +
                                TIDEREACH_BINARY + "' --snapshot '" + (folder / "out.png").string() +
                                "' --ticks " + std::to_string(ticks) + " 2>'" + (folder / "stderr").string() +
                                "'";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

}  // namespace

// A value missing or of another type stops the scene's creation: the error
// is reported, no tick runs, nothing is written and the store is left as it
// was.
TEST(Snapshot, ADamagedStoreIsReportedWithoutTickingOrWriting) {
    const ScratchFolder scratch;
    const std::filesystem::path& folder = scratch.Path();
    const std::string header = "REGEDIT4\n\n[HKEY_CURRENT_USER\\SOFTWARE\\Corvane\\Tidereach]\n";
    const std::pair<std::string, std::string> cases[] = {
        {"\"flag_clock\"=dword:00000001\n", "Failed to get data for 'flag_PlaySound'"},
        {"\"flag_clock\"=\"yes\"\n", "Invalid data type for 'flag_clock'"},
    };
    for (const auto& [values, message] : cases) {
        EXPECT_EQ(SnapshotWithStore(folder, header + values, 200), 1) << values;
        EXPECT_FALSE(std::filesystem::exists(folder / "out.png")) << values;
        EXPECT_NE(Contents(folder / "stderr").find(message), std::string::npos)
            << Contents(folder / "stderr");
        EXPECT_EQ(Contents(folder / "config" / "Corvane" / "Tidereach.reg"), header + values);
    }
}

// The whole scene after 500 ticks with a fixed seed, made by the real
// program in a process of its own, against the picture checked by eye when
// it was made: any change to layout, actors, drawing, text or lighting
// shows here.
TEST(Snapshot, MatchesTheGoldenPictureOfTheIsland) {
    const ScratchFolder folder;
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
