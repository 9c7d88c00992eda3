#include "platform/audio/WaveFile.h"

#include <cstring>

namespace platform::audio {
namespace {

constexpr std::uint16_t kFormatPcm = 0x0001;
constexpr std::uint16_t kFormatMpegLayer3 = 0x0055;

std::uint16_t ReadU16(std::span<const std::uint8_t> b, std::size_t at) {
    return std::uint16_t(b[at] | (b[at + 1] << 8));
}
std::uint32_t ReadU32(std::span<const std::uint8_t> b, std::size_t at) {
    return std::uint32_t(ReadU16(b, at)) | (std::uint32_t(ReadU16(b, at + 2)) << 16);
}
bool IdIs(std::span<const std::uint8_t> b, std::size_t at, const char (&id)[5]) {
    return std::memcmp(b.data() + at, id, 4) == 0;
}

SoundError ReadFormat(std::span<const std::uint8_t> fmt, WaveFile& wave) {
    if (fmt.size() < 16) return SoundError::BadFormat;
    const std::uint16_t tag = ReadU16(fmt, 0);
    const std::uint16_t channels = ReadU16(fmt, 2);
    const std::uint32_t rate = ReadU32(fmt, 4);
    const std::uint16_t blockAlign = ReadU16(fmt, 12);
    const std::uint16_t bits = ReadU16(fmt, 14);
    if (channels == 0 || rate == 0) return SoundError::BadFormat;
    if (channels > 2 || rate < 8000 || rate > 48000) return SoundError::UnsupportedCoding;
    if (tag == kFormatPcm) {
        if (bits != 16) return SoundError::UnsupportedCoding;
        if (blockAlign != channels * 2) return SoundError::BadFormat;
        wave.coding = WaveCoding::Pcm16;
    } else if (tag == kFormatMpegLayer3) {
        wave.coding = WaveCoding::MpegLayer3;
    } else {
        return SoundError::UnsupportedCoding;
    }
    wave.channels = channels;
    wave.sampleRate = int(rate);
    return SoundError::None;
}

}  // namespace

std::string_view Describe(SoundError error) {
    switch (error) {
    case SoundError::None:
        return "no error";
    case SoundError::NotRiffWave:
        return "not a RIFF WAVE file";
    case SoundError::Truncated:
        return "the wave file is truncated";
    case SoundError::NoFormat:
        return "the wave file has no format chunk";
    case SoundError::NoData:
        return "the wave file has no data chunk";
    case SoundError::BadFormat:
        return "the wave file's format chunk is damaged";
    case SoundError::UnsupportedCoding:
        return "the wave file's coding is not supported";
    case SoundError::BadStream:
        return "the coded audio does not decode";
    case SoundError::NoAudio:
        return "the wave file holds no audio";
    case SoundError::TooLong:
        return "the sound is too long";
    }
    return "unknown error";
}

SoundResult<WaveFile> ParseWave(std::span<const std::uint8_t> bytes) {
    if (bytes.size() >= 4 && !IdIs(bytes, 0, "RIFF")) return {SoundError::NotRiffWave};
    if (bytes.size() < 12) return {SoundError::Truncated};
    if (!IdIs(bytes, 8, "WAVE")) return {SoundError::NotRiffWave};
    const std::uint32_t riffSize = ReadU32(bytes, 4);
    if (riffSize < 4) return {SoundError::Truncated};
    // Compared in 64 bits: a size near 4 GiB must not wrap round.
    if (std::uint64_t(riffSize) + 8 > bytes.size()) return {SoundError::Truncated};
    const auto body = bytes.subspan(12, riffSize - 4);

    WaveFile wave;
    bool haveFormat = false;
    bool haveData = false;
    std::size_t at = 0;
    while (at < body.size()) {
        if (body.size() - at < 8) return {SoundError::Truncated};
        const std::uint32_t size = ReadU32(body, at + 4);
        const std::size_t payloadAt = at + 8;
        if (size > body.size() - payloadAt) return {SoundError::Truncated};
        const auto payload = body.subspan(payloadAt, size);
        if (IdIs(body, at, "fmt ") && !haveFormat) {
            if (SoundError e = ReadFormat(payload, wave); e != SoundError::None) return {e};
            haveFormat = true;
        } else if (IdIs(body, at, "fact") && !wave.frameCount && size >= 4) {
            wave.frameCount = ReadU32(payload, 0);
        } else if (IdIs(body, at, "data") && !haveData) {
            wave.data = payload;
            haveData = true;
        }
        // Chunks are word aligned; the pad byte after an odd chunk may be
        // missing at the very end.
        at = payloadAt + size + (size & 1);
    }
    if (!haveFormat) return {SoundError::NoFormat};
    if (!haveData) return {SoundError::NoData};
    if (wave.coding == WaveCoding::Pcm16) {
        const std::size_t frameBytes = std::size_t(wave.channels) * 2;
        wave.data = wave.data.first(wave.data.size() / frameBytes * frameBytes);
    }
    return {SoundError::None, wave};
}

}  // namespace platform::audio
