#include "platform/audio/SoundDecoder.h"

#include <mpg123.h>

#include <algorithm>
#include <memory>

// From this version on a handle needs no library-wide set-up first.
static_assert(MPG123_API_VERSION >= 46, "libmpg123 1.27 or later is required");

namespace platform::audio {
namespace {

std::size_t MaxSamples(const WaveFile& wave) {
    return std::size_t(kMaxSoundSeconds) * std::size_t(wave.sampleRate) * std::size_t(wave.channels);
}

SoundResult<PcmSound> CopyPcm(const WaveFile& wave) {
    PcmSound sound{wave.channels, wave.sampleRate, {}};
    const std::size_t count = wave.data.size() / 2;
    if (count == 0) return {SoundError::NoAudio};
    if (count > MaxSamples(wave)) return {SoundError::TooLong};
    sound.samples.resize(count);
    for (std::size_t i = 0; i < count; ++i)
        sound.samples[i] = std::int16_t(wave.data[2 * i] | (wave.data[2 * i + 1] << 8));
    return {SoundError::None, std::move(sound)};
}

struct HandleDeleter {
    void operator()(mpg123_handle* handle) const { mpg123_delete(handle); }
};
using Mpg123Handle = std::unique_ptr<mpg123_handle, HandleDeleter>;

// A decoder for one memory stream: output fixed to the wave's rate and
// channel count in 16 bits (libmpg123 converts frames that differ), gapless
// trimming on, and no messages on standard error about damaged input.
Mpg123Handle OpenDecoder(const WaveFile& wave) {
    int error = MPG123_OK;
    Mpg123Handle handle(mpg123_new(nullptr, &error));
    if (!handle) return nullptr;
    mpg123_handle* h = handle.get();
    const long flags = MPG123_QUIET | MPG123_GAPLESS | MPG123_NO_FRANKENSTEIN;
    if (mpg123_param(h, MPG123_ADD_FLAGS, flags, 0) != MPG123_OK || mpg123_format_none(h) != MPG123_OK ||
        mpg123_format(h, wave.sampleRate, wave.channels == 1 ? MPG123_MONO : MPG123_STEREO,
                      MPG123_ENC_SIGNED_16) != MPG123_OK ||
        mpg123_open_feed(h) != MPG123_OK || mpg123_feed(h, wave.data.data(), wave.data.size()) != MPG123_OK)
        return nullptr;
    return handle;
}

SoundResult<PcmSound> DecodeMpeg(const WaveFile& wave) {
    if (wave.data.empty()) return {SoundError::NoAudio};
    Mpg123Handle decoder = OpenDecoder(wave);
    if (!decoder) return {SoundError::BadStream};

    PcmSound sound{wave.channels, wave.sampleRate, {}};
    const std::size_t limit = MaxSamples(wave);
    if (wave.frameCount)
        sound.samples.reserve(std::min(limit, std::size_t(*wave.frameCount) * std::size_t(wave.channels)));
    std::int16_t chunk[4608];
    for (;;) {
        std::size_t bytes = 0;
        const int status = mpg123_read(decoder.get(), chunk, sizeof chunk, &bytes);
        sound.samples.insert(sound.samples.end(), chunk, chunk + bytes / sizeof chunk[0]);
        if (sound.samples.size() > limit) return {SoundError::TooLong};
        if (status == MPG123_NEED_MORE || status == MPG123_DONE) break;
        if (status != MPG123_OK && status != MPG123_NEW_FORMAT) return {SoundError::BadStream};
    }
    sound.samples.resize(sound.samples.size() / std::size_t(wave.channels) * std::size_t(wave.channels));
    // Without a LAME tag the decoder cannot know the padding; the fact
    // chunk's length cuts it off.
    if (wave.frameCount && sound.Frames() > *wave.frameCount)
        sound.samples.resize(std::size_t(*wave.frameCount) * std::size_t(wave.channels));
    if (sound.samples.empty()) return {SoundError::NoAudio};
    sound.samples.shrink_to_fit();
    return {SoundError::None, std::move(sound)};
}

}  // namespace

SoundResult<PcmSound> DecodeWave(const WaveFile& wave) {
    return wave.coding == WaveCoding::Pcm16 ? CopyPcm(wave) : DecodeMpeg(wave);
}

}  // namespace platform::audio
