// Synthesis of the sea sound: surf rolling onto a sandy beach.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace surf {

inline constexpr int kSampleRate = 22050;
inline constexpr int kChannels = 2;
inline constexpr int kLoopSeconds = 30;
inline constexpr std::size_t kLoopFrames = std::size_t(kSampleRate) * kLoopSeconds;

// One lap of the loop as interleaved stereo 16-bit samples (kLoopFrames
// frames). The signal is periodic: the frame after the last is the first, so
// playing the lap over and over has no seam. Same output on every run.
std::vector<std::int16_t> RenderSurfLoop();

}  // namespace surf
