// The frames of an MP3 file as LAME writes it, and what a wave header says about them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace surf {

// The audio frames of an MP3 file and what the wave header needs to say.
struct Mp3Stream {
    std::vector<std::uint8_t> frames;  // every frame, the LAME tag frame first; no ID3 tags
    int sampleRate = 0;
    int channels = 0;
    int bitrateKbps = 0;         // of the frames after the tag frame (constant bit rate)
    int unpaddedFrameBytes = 0;  // size of a frame without its padding byte
    bool anyPadding = false;     // some frames carry a padding byte
    int encoderDelay = 0;        // samples, from the LAME tag
    int encoderPadding = 0;
    std::size_t frameCount = 0;
};

// Reads a constant-bit-rate Layer III file as LAME writes it. Fails (with
// the reason in `error`) on anything else: a decoder must be able to find
// the gapless trim, so the LAME tag is required.
std::optional<Mp3Stream> ScanMp3(std::span<const std::uint8_t> file, std::string& error);

}  // namespace surf
