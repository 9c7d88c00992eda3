#include "platform/Documentation.h"

#include "platform/winapi/User.h"

#include <filesystem>
#include <fstream>
#include <system_error>
#include <vector>

namespace platform {
namespace {

namespace fs = std::filesystem;

// Another README near the program (a home folder's, say) is not ours: ours
// starts with the program's title.
bool IsOurReadme(const fs::path& file) {
    std::ifstream in(file);
    std::string firstLine;
    return std::getline(in, firstLine) && firstLine == "# Tideway Islands";
}

}  // namespace

std::string ProgramReadme() {
    std::error_code error;
    const fs::path program = fs::read_symlink("/proc/self/exe", error);
    const fs::path folder = error ? fs::path() : program.parent_path();
    std::vector<fs::path> candidates;
    if (!folder.empty()) candidates.push_back(folder / "../share/doc/tidereach/README.md");
    candidates.push_back("/usr/share/doc/tidereach/README.md");
    // Build folders sit at the top of the source tree, one or two levels down
    // (build-x/tidereach, build/release/tidereach).
    if (!folder.empty()) {
        candidates.push_back(folder / "../README.md");
        candidates.push_back(folder / "../../README.md");
    }
    for (const fs::path& candidate : candidates) {
        if (fs::is_regular_file(candidate, error) && IsOurReadme(candidate)) {
            return candidate.lexically_normal().string();
        }
    }
    return {};
}

bool OpenReadme(const std::string& path) {
    return ShellExecuteA(0, "open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL) > 32;
}

}  // namespace platform
