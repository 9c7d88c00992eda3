#include "platform/directdraw/OpaqueRuns.h"

#include "platform/pixels/PixelFormat.h"

namespace platform {
namespace {

template <int Bytes>
void AppendRowRuns(const std::uint8_t* row, int width, std::uint32_t key,
                   std::vector<OpaqueRuns::Run>& runs) {
    int x = 0;
    while (x < width) {
        while (x < width && ReadPixel(row + x * Bytes, Bytes) == key) ++x;
        const int start = x;
        while (x < width && ReadPixel(row + x * Bytes, Bytes) != key) ++x;
        if (x > start) runs.push_back({std::uint32_t(start), std::uint32_t(x - start)});
    }
}

}  // namespace

void OpaqueRuns::Build(const PixelView& pixels, std::uint32_t key) {
    runs_.clear();
    rowStart_.assign(std::size_t(pixels.height) + 1, 0);
    for (int y = 0; y < pixels.height; ++y) {
        const std::uint8_t* row = pixels.pixels + std::size_t(y) * pixels.pitch;
        switch (BytesPerPixel(pixels.bitsPerPixel)) {
        case 2:
            AppendRowRuns<2>(row, pixels.width, key, runs_);
            break;
        case 3:
            AppendRowRuns<3>(row, pixels.width, key, runs_);
            break;
        default:
            AppendRowRuns<4>(row, pixels.width, key, runs_);
            break;
        }
        rowStart_[std::size_t(y) + 1] = std::uint32_t(runs_.size());
    }
}

}  // namespace platform
