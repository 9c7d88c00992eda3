// The pixels of a surface that differ from its colour key, as runs per row:
// a keyed blit copies these runs whole and never looks at a key pixel.
// Internal to platform/.
#pragma once

#include "platform/seam/Backend.h"

#include <cstdint>
#include <span>
#include <vector>

namespace platform {

class OpaqueRuns {
public:
    struct Run {
        std::uint32_t start;   // first column
        std::uint32_t length;  // pixels
    };

    // Finds the runs of `pixels` whose values differ from `key`, reusing the
    // storage of earlier builds.
    void Build(const PixelView& pixels, std::uint32_t key);

    // The runs of row y, left to right.
    std::span<const Run> Row(int y) const {
        return std::span(runs_).subspan(rowStart_[y], rowStart_[y + 1] - rowStart_[y]);
    }

private:
    std::vector<Run> runs_;
    std::vector<std::uint32_t> rowStart_;  // height + 1 entries into runs_
};

}  // namespace platform
