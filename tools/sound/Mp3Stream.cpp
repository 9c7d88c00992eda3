#include "Mp3Stream.h"

#include <algorithm>
#include <cstring>

namespace surf {
namespace {

struct FrameHeader {
    int version = 0;  // 1 MPEG-1, 2 MPEG-2, 25 MPEG-2.5
    int bitrateKbps = 0;
    int sampleRate = 0;
    int channels = 0;
    bool padding = false;
    int bytes = 0;
    int unpaddedBytes = 0;
};

std::optional<FrameHeader> ParseFrameHeader(std::span<const std::uint8_t> at) {
    if (at.size() < 4 || at[0] != 0xFF || (at[1] & 0xE0) != 0xE0) return std::nullopt;
    int versionBits = (at[1] >> 3) & 3;
    int layerBits = (at[1] >> 1) & 3;
    int bitrateIndex = at[2] >> 4;
    int rateIndex = (at[2] >> 2) & 3;
    if (versionBits == 1 || layerBits != 1 || bitrateIndex == 0 || bitrateIndex == 15 || rateIndex == 3)
        return std::nullopt;
    static constexpr int kMpeg1Kbps[15] = {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320};
    static constexpr int kMpeg2Kbps[15] = {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160};
    static constexpr int kMpeg1Rates[3] = {44100, 48000, 32000};
    FrameHeader h;
    h.version = versionBits == 3 ? 1 : versionBits == 2 ? 2 : 25;
    h.bitrateKbps = h.version == 1 ? kMpeg1Kbps[bitrateIndex] : kMpeg2Kbps[bitrateIndex];
    h.sampleRate = kMpeg1Rates[rateIndex] / (h.version == 1 ? 1 : h.version == 2 ? 2 : 4);
    h.channels = ((at[3] >> 6) & 3) == 3 ? 1 : 2;
    h.padding = (at[2] >> 1) & 1;
    int slotsPerKbps = h.version == 1 ? 144000 : 72000;
    h.unpaddedBytes = slotsPerKbps * h.bitrateKbps / h.sampleRate;
    h.bytes = h.unpaddedBytes + (h.padding ? 1 : 0);
    return h;
}

std::size_t SkipId3v2(std::span<const std::uint8_t> file) {
    if (file.size() < 10 || std::memcmp(file.data(), "ID3", 3) != 0) return 0;
    std::size_t size = (std::size_t(file[6] & 0x7F) << 21) | (std::size_t(file[7] & 0x7F) << 14) |
                       (std::size_t(file[8] & 0x7F) << 7) | std::size_t(file[9] & 0x7F);
    return std::min(file.size(), 10 + size + ((file[5] & 0x10) ? 10 : 0));
}

// Finds the encoder delay and padding in the LAME extension of an Info/Xing frame.
bool ReadLameTag(std::span<const std::uint8_t> frame, const FrameHeader& h, int& delay, int& padding) {
    std::size_t sideInfo = h.version == 1 ? (h.channels == 1 ? 17 : 32) : (h.channels == 1 ? 9 : 17);
    std::size_t at = 4 + sideInfo;
    if (frame.size() < at + 8) return false;
    if (std::memcmp(&frame[at], "Xing", 4) != 0 && std::memcmp(&frame[at], "Info", 4) != 0) return false;
    std::uint32_t flags = (std::uint32_t(frame[at + 4]) << 24) | (std::uint32_t(frame[at + 5]) << 16) |
                          (std::uint32_t(frame[at + 6]) << 8) | frame[at + 7];
    at += 8;
    if (flags & 1) at += 4;    // frame count
    if (flags & 2) at += 4;    // byte count
    if (flags & 4) at += 100;  // seek table
    if (flags & 8) at += 4;    // quality
    if (frame.size() < at + 24 || std::memcmp(&frame[at], "LAME", 4) != 0) return false;
    delay = (frame[at + 21] << 4) | (frame[at + 22] >> 4);
    padding = ((frame[at + 22] & 0x0F) << 8) | frame[at + 23];
    return true;
}

}  // namespace

std::optional<Mp3Stream> ScanMp3(std::span<const std::uint8_t> file, std::string& error) {
    std::size_t end = file.size();
    if (end >= 128 && std::memcmp(&file[end - 128], "TAG", 3) == 0) end -= 128;
    std::size_t at = SkipId3v2(file);

    Mp3Stream s;
    bool bitrateSeen = false;
    while (at < end) {
        auto header = ParseFrameHeader(file.subspan(at, end - at));
        if (!header || at + std::size_t(header->bytes) > end) {
            error = "no MPEG Layer III frame at byte " + std::to_string(at);
            return std::nullopt;
        }
        auto frame = file.subspan(at, std::size_t(header->bytes));
        if (s.frameCount == 0) {
            s.sampleRate = header->sampleRate;
            s.channels = header->channels;
            if (!ReadLameTag(frame, *header, s.encoderDelay, s.encoderPadding)) {
                error = "the first frame has no LAME tag";
                return std::nullopt;
            }
        } else {
            if (header->sampleRate != s.sampleRate || header->channels != s.channels) {
                error = "the stream changes its format";
                return std::nullopt;
            }
            if (bitrateSeen && header->bitrateKbps != s.bitrateKbps) {
                error = "the stream is not constant bit rate";
                return std::nullopt;
            }
            bitrateSeen = true;
            s.bitrateKbps = header->bitrateKbps;
            s.unpaddedFrameBytes = header->unpaddedBytes;
            s.anyPadding = s.anyPadding || header->padding;
        }
        s.frames.insert(s.frames.end(), frame.begin(), frame.end());
        ++s.frameCount;
        at += frame.size();
    }
    if (!bitrateSeen) {
        error = "the stream holds no audio frames";
        return std::nullopt;
    }
    return s;
}

}  // namespace surf
