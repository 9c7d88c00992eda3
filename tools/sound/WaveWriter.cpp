#include "WaveWriter.h"

namespace surf {
namespace {

void PutU16(std::vector<std::uint8_t>& out, std::uint32_t v) {
    out.push_back(std::uint8_t(v));
    out.push_back(std::uint8_t(v >> 8));
}
void PutU32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    PutU16(out, v & 0xFFFF);
    PutU16(out, v >> 16);
}
void PutId(std::vector<std::uint8_t>& out, const char (&id)[5]) {
    for (int i = 0; i < 4; ++i) out.push_back(std::uint8_t(id[i]));
}

}  // namespace

std::vector<std::uint8_t> PcmWave(const std::vector<std::int16_t>& samples, int channels, int sampleRate) {
    const auto dataBytes = std::uint32_t(samples.size() * 2);
    const auto frameBytes = std::uint32_t(channels * 2);
    std::vector<std::uint8_t> out;
    PutId(out, "RIFF");
    PutU32(out, 36 + dataBytes);
    PutId(out, "WAVE");
    PutId(out, "fmt ");
    PutU32(out, 16);
    PutU16(out, 1);  // WAVE_FORMAT_PCM
    PutU16(out, std::uint32_t(channels));
    PutU32(out, std::uint32_t(sampleRate));
    PutU32(out, std::uint32_t(sampleRate) * frameBytes);
    PutU16(out, frameBytes);
    PutU16(out, 16);
    PutId(out, "data");
    PutU32(out, dataBytes);
    for (std::int16_t s : samples) PutU16(out, std::uint16_t(s));
    return out;
}

std::vector<std::uint8_t> WrapInWave(const Mp3Stream& mp3, std::uint32_t pcmFrames) {
    constexpr std::uint32_t kFmtBytes = 30;
    constexpr std::uint32_t kFactBytes = 4;
    const auto dataBytes = std::uint32_t(mp3.frames.size());
    const std::uint32_t dataPad = dataBytes & 1;
    // Samples a decoder drops before the first real one: the encoder's delay
    // plus the decoder's own (529 for Layer III).
    const std::uint32_t codecDelay = std::uint32_t(mp3.encoderDelay) + 529;

    std::vector<std::uint8_t> out;
    PutId(out, "RIFF");
    PutU32(out, 4 + (8 + kFmtBytes) + (8 + kFactBytes) + (8 + dataBytes + dataPad));
    PutId(out, "WAVE");

    PutId(out, "fmt ");
    PutU32(out, kFmtBytes);
    PutU16(out, 0x0055);  // WAVE_FORMAT_MPEGLAYER3
    PutU16(out, std::uint32_t(mp3.channels));
    PutU32(out, std::uint32_t(mp3.sampleRate));
    PutU32(out, std::uint32_t(mp3.bitrateKbps) * 1000 / 8);
    PutU16(out, 1);                       // block align
    PutU16(out, 0);                       // bits per sample
    PutU16(out, 12);                      // extra bytes that follow
    PutU16(out, 1);                       // MPEGLAYER3_ID_MPEG
    PutU32(out, mp3.anyPadding ? 0 : 2);  // MPEGLAYER3_FLAG_PADDING_ISO or _OFF
    PutU16(out, std::uint32_t(mp3.unpaddedFrameBytes));
    PutU16(out, 1);  // frames per block
    PutU16(out, codecDelay);

    PutId(out, "fact");
    PutU32(out, kFactBytes);
    PutU32(out, pcmFrames);

    PutId(out, "data");
    PutU32(out, dataBytes);
    out.insert(out.end(), mp3.frames.begin(), mp3.frames.end());
    if (dataPad) out.push_back(0);
    return out;
}

}  // namespace surf
