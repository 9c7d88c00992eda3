// RIFF WAVE files of the loop: uncoded PCM, and MP3 frames in a wave container.
#pragma once

#include "Mp3Stream.h"

#include <cstdint>
#include <vector>

namespace surf {

// 16-bit PCM, interleaved samples.
std::vector<std::uint8_t> PcmWave(const std::vector<std::int16_t>& samples, int channels, int sampleRate);

// RIFF WAVE: an MPEGLAYER3WAVEFORMAT fmt chunk (30 bytes), a fact chunk with
// the decoded length in frames, and the MP3 frames as the data chunk.
std::vector<std::uint8_t> WrapInWave(const Mp3Stream& mp3, std::uint32_t pcmFrames);

}  // namespace surf
