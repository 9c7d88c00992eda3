// RIFF WAVE files held in memory: what they say about their audio, checked
// strictly, whatever the bytes.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace platform::audio {

// Why a sound cannot be played.
enum class SoundError {
    None,
    NotRiffWave,        // no "RIFF" ... "WAVE" header
    Truncated,          // a chunk or the header runs past the end of the bytes
    NoFormat,           // no fmt chunk
    NoData,             // no data chunk
    BadFormat,          // a fmt chunk that contradicts itself
    UnsupportedCoding,  // neither 16-bit PCM nor MPEG Layer-3, or more than two channels
    BadStream,          // the coded audio does not decode
    NoAudio,            // it decodes to nothing
    TooLong,            // longer than a player keeps in memory
};

std::string_view Describe(SoundError error);

// A value, or why there is none.
template <class T>
struct SoundResult {
    SoundError error = SoundError::None;
    T value{};
    explicit operator bool() const { return error == SoundError::None; }
};

enum class WaveCoding { Pcm16, MpegLayer3 };

struct WaveFile {
    WaveCoding coding = WaveCoding::Pcm16;
    int channels = 0;    // 1 or 2
    int sampleRate = 0;  // 8000 to 48000
    // The decoded length in frames, from a fact chunk; coded sounds carry it
    // so a decoder can drop the encoder's padding at the end.
    std::optional<std::uint32_t> frameCount;
    // The audio bytes, a part of the parsed span; whole frames for PCM.
    std::span<const std::uint8_t> data;
};

// Reads the header, the fmt, fact and data chunks (the first of each; other
// chunks are skipped). Never reads outside `bytes`.
SoundResult<WaveFile> ParseWave(std::span<const std::uint8_t> bytes);

}  // namespace platform::audio
