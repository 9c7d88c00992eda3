// Turns a wave file's audio into 16-bit PCM a player can loop.
#pragma once

#include "platform/audio/WaveFile.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace platform::audio {

struct PcmSound {
    int channels = 0;
    int sampleRate = 0;
    std::vector<std::int16_t> samples;  // interleaved, host byte order

    std::size_t Frames() const { return channels > 0 ? samples.size() / std::size_t(channels) : 0; }
};

// Sounds longer than this are refused rather than held in memory.
inline constexpr int kMaxSoundSeconds = 300;

// PCM is copied; MPEG Layer-3 is decoded with the encoder's delay and
// padding trimmed (LAME tag, else the fact chunk's length), so a loop of the
// result has no gap. The result has the wave's rate and channel count.
SoundResult<PcmSound> DecodeWave(const WaveFile& wave);

}  // namespace platform::audio
