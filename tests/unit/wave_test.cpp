// Wave files from memory: the parser on good and damaged bytes, decoding to
// PCM, and reading a sound out in buffers as the player does.

#include "platform/Resources.h"
#include "platform/audio/SoundDecoder.h"
#include "platform/audio/SoundPlayer.h"
#include "platform/audio/WaveFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace {

using namespace platform::audio;
using Bytes = std::vector<std::uint8_t>;

void PutU16(Bytes& out, std::uint32_t v) {
    out.push_back(std::uint8_t(v));
    out.push_back(std::uint8_t(v >> 8));
}
void PutU32(Bytes& out, std::uint32_t v) {
    PutU16(out, v & 0xFFFF);
    PutU16(out, v >> 16);
}
void PutId(Bytes& out, std::string_view id) {
    for (char c : id) out.push_back(std::uint8_t(c));
}

// A chunk with its pad byte; `declared` overrides the size field.
Bytes Chunk(std::string_view id, const Bytes& payload, std::optional<std::uint32_t> declared = {}) {
    Bytes out;
    PutId(out, id);
    PutU32(out, declared.value_or(std::uint32_t(payload.size())));
    out.insert(out.end(), payload.begin(), payload.end());
    if (payload.size() % 2) out.push_back(0);
    return out;
}

Bytes Riff(const std::vector<Bytes>& chunks) {
    Bytes body;
    for (const Bytes& c : chunks) body.insert(body.end(), c.begin(), c.end());
    Bytes out;
    PutId(out, "RIFF");
    PutU32(out, std::uint32_t(4 + body.size()));
    PutId(out, "WAVE");
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

Bytes Format(std::uint16_t tag = 1, std::uint16_t channels = 2, std::uint32_t rate = 22050,
             std::uint16_t blockAlign = 4, std::uint16_t bits = 16) {
    Bytes out;
    PutU16(out, tag);
    PutU16(out, channels);
    PutU32(out, rate);
    PutU32(out, rate * blockAlign);
    PutU16(out, blockAlign);
    PutU16(out, bits);
    return out;
}

Bytes Samples(const std::vector<std::int16_t>& samples) {
    Bytes out;
    for (std::int16_t s : samples) PutU16(out, std::uint16_t(s));
    return out;
}

Bytes Fact(std::uint32_t frames) {
    Bytes out;
    PutU32(out, frames);
    return out;
}

const Bytes kStereoPcm = Samples({1, -1, 300, -300, 32767, -32768});

TEST(WaveParse, ReadsPcmWithFactAndSkipsOtherChunks) {
    // An odd-sized unknown chunk first: its pad byte must be skipped.
    const Bytes file = Riff({Chunk("LIST", {1, 2, 3}), Chunk("fmt ", Format()), Chunk("fact", Fact(3)),
                             Chunk("data", kStereoPcm)});
    const auto parsed = ParseWave(file);
    ASSERT_TRUE(parsed) << Describe(parsed.error);
    EXPECT_EQ(parsed.value.coding, WaveCoding::Pcm16);
    EXPECT_EQ(parsed.value.channels, 2);
    EXPECT_EQ(parsed.value.sampleRate, 22050);
    EXPECT_EQ(parsed.value.frameCount, 3u);
    EXPECT_TRUE(
        std::equal(parsed.value.data.begin(), parsed.value.data.end(), kStereoPcm.begin(), kStereoPcm.end()));
}

TEST(WaveParse, AcceptsAnyChunkOrderKeepsFirstOfEachAndDropsPartialFrames) {
    Bytes ragged = kStereoPcm;
    ragged.push_back(7);  // one byte of a frame that never ends
    const Bytes file = Riff({Chunk("data", ragged), Chunk("fmt ", Format(0x55, 1, 8000, 1, 0)),
                             Chunk("fmt ", Format()), Chunk("data", {})});
    const auto parsed = ParseWave(file);
    ASSERT_TRUE(parsed) << Describe(parsed.error);
    EXPECT_EQ(parsed.value.coding, WaveCoding::MpegLayer3);
    EXPECT_EQ(parsed.value.channels, 1);
    EXPECT_EQ(parsed.value.sampleRate, 8000);
    EXPECT_EQ(parsed.value.data.size(), ragged.size()) << "coded data is kept whole";
    EXPECT_FALSE(parsed.value.frameCount);

    const Bytes pcmFile = Riff({Chunk("fmt ", Format()), Chunk("data", ragged)});
    const auto pcm = ParseWave(pcmFile);
    ASSERT_TRUE(pcm);
    EXPECT_EQ(pcm.value.data.size(), kStereoPcm.size()) << "PCM keeps whole frames only";
}

TEST(WaveParse, ToleratesMissingPadByteAtTheVeryEnd) {
    Bytes file = Riff({Chunk("fmt ", Format(1, 1, 22050, 2, 16)), Chunk("data", {1, 2, 3})});
    file.pop_back();  // the pad byte
    file[4] -= 1;     // and the RIFF size that counted it
    const auto parsed = ParseWave(file);
    ASSERT_TRUE(parsed) << Describe(parsed.error);
    EXPECT_EQ(parsed.value.data.size(), 2u);
}

struct DamagedCase {
    const char* name;
    Bytes bytes;
    SoundError expected;
};

Bytes WithRiffSize(Bytes file, std::uint32_t size) {
    file[4] = std::uint8_t(size);
    file[5] = std::uint8_t(size >> 8);
    file[6] = std::uint8_t(size >> 16);
    file[7] = std::uint8_t(size >> 24);
    return file;
}

std::vector<DamagedCase> DamagedCases() {
    const Bytes good = Riff({Chunk("fmt ", Format()), Chunk("data", kStereoPcm)});
    Bytes chunkHeaderCut = Riff({Chunk("fmt ", Format()), Chunk("data", kStereoPcm)});
    chunkHeaderCut.insert(chunkHeaderCut.end(), {'L', 'I', 'S'});
    chunkHeaderCut = WithRiffSize(chunkHeaderCut, std::uint32_t(chunkHeaderCut.size() - 8));
    Bytes junk(64, 0xA5);
    return {
        {"empty", {}, SoundError::Truncated},
        {"three bytes", {'R', 'I', 'F'}, SoundError::Truncated},
        {"other container", Bytes{'R', 'I', 'F', 'X', 4, 0, 0, 0, 'W', 'A', 'V', 'E'},
         SoundError::NotRiffWave},
        {"not a wave", Bytes{'R', 'I', 'F', 'F', 4, 0, 0, 0, 'A', 'V', 'I', ' '}, SoundError::NotRiffWave},
        {"junk", junk, SoundError::NotRiffWave},
        {"header cut", Bytes(good.begin(), good.begin() + 10), SoundError::Truncated},
        {"RIFF size past the end", WithRiffSize(good, std::uint32_t(good.size())), SoundError::Truncated},
        {"RIFF size 4 GiB", WithRiffSize(good, 0xFFFFFFFF), SoundError::Truncated},
        {"RIFF size below WAVE", WithRiffSize(good, 3), SoundError::Truncated},
        {"chunk size past the end", Riff({Chunk("fmt ", Format()), Chunk("data", kStereoPcm, 1000)}),
         SoundError::Truncated},
        {"chunk size 4 GiB", Riff({Chunk("fmt ", Format(), 0xFFFFFFFF)}), SoundError::Truncated},
        {"chunk header cut", chunkHeaderCut, SoundError::Truncated},
        {"no chunks", Riff({}), SoundError::NoFormat},
        {"no fmt", Riff({Chunk("data", kStereoPcm)}), SoundError::NoFormat},
        {"no data", Riff({Chunk("fmt ", Format()), Chunk("fact", Fact(3))}), SoundError::NoData},
        {"fmt too short", Riff({Chunk("fmt ", Bytes(14, 1)), Chunk("data", kStereoPcm)}),
         SoundError::BadFormat},
        {"no channels", Riff({Chunk("fmt ", Format(1, 0)), Chunk("data", kStereoPcm)}),
         SoundError::BadFormat},
        {"rate zero", Riff({Chunk("fmt ", Format(1, 2, 0)), Chunk("data", kStereoPcm)}),
         SoundError::BadFormat},
        {"block align", Riff({Chunk("fmt ", Format(1, 2, 22050, 3)), Chunk("data", kStereoPcm)}),
         SoundError::BadFormat},
        {"six channels", Riff({Chunk("fmt ", Format(1, 6, 22050, 12)), Chunk("data", kStereoPcm)}),
         SoundError::UnsupportedCoding},
        {"8-bit PCM", Riff({Chunk("fmt ", Format(1, 2, 22050, 2, 8)), Chunk("data", kStereoPcm)}),
         SoundError::UnsupportedCoding},
        {"ADPCM", Riff({Chunk("fmt ", Format(2)), Chunk("data", kStereoPcm)}), SoundError::UnsupportedCoding},
        {"rate 4 GHz", Riff({Chunk("fmt ", Format(1, 2, 0xFFFFFFFF)), Chunk("data", kStereoPcm)}),
         SoundError::UnsupportedCoding},
    };
}

TEST(WaveParse, DamagedFilesFailWithTheirReason) {
    for (const DamagedCase& c : DamagedCases()) {
        // A copy of exactly the bytes, so reading past them is caught by ASan.
        const std::unique_ptr<std::uint8_t[]> exact(new std::uint8_t[c.bytes.size()]);
        std::copy(c.bytes.begin(), c.bytes.end(), exact.get());
        const auto parsed = ParseWave({exact.get(), c.bytes.size()});
        EXPECT_EQ(parsed.error, c.expected) << c.name << ": " << Describe(parsed.error);
        EXPECT_FALSE(parsed) << c.name;
    }
}

TEST(WaveParse, EveryCutOfAGoodFileFails) {
    // The data chunk comes last and has no pad byte: any cut loses some of it.
    const Bytes good = Riff({Chunk("LIST", {1, 2, 3}), Chunk("fmt ", Format()), Chunk("fact", Fact(3)),
                             Chunk("data", kStereoPcm)});
    for (std::size_t length = 0; length < good.size(); ++length) {
        // The RIFF size is made to agree with the cut, so the chunk walk
        // itself meets the end.
        Bytes cut(good.begin(), good.begin() + std::ptrdiff_t(length));
        if (length >= 8) cut = WithRiffSize(cut, std::uint32_t(length - 8));
        const std::unique_ptr<std::uint8_t[]> exact(new std::uint8_t[length]);
        std::copy(cut.begin(), cut.end(), exact.get());
        EXPECT_FALSE(ParseWave({exact.get(), length})) << "cut at " << length;
    }
}

// Parses and decodes a file the caller keeps alive for the call.
SoundResult<PcmSound> Decode(const Bytes& file) {
    const auto parsed = ParseWave(file);
    if (!parsed) return {parsed.error};
    return DecodeWave(parsed.value);
}

TEST(WaveDecode, PcmIsCopiedInHostOrder) {
    const auto decoded = Decode(Riff({Chunk("fmt ", Format()), Chunk("data", kStereoPcm)}));
    ASSERT_TRUE(decoded) << Describe(decoded.error);
    EXPECT_EQ(decoded.value.samples, (std::vector<std::int16_t>{1, -1, 300, -300, 32767, -32768}));
    EXPECT_EQ(decoded.value.Frames(), 3u);
    EXPECT_EQ(decoded.value.channels, 2);
    EXPECT_EQ(decoded.value.sampleRate, 22050);
}

TEST(WaveDecode, RefusesEmptyTooLongAndUndecodableAudio) {
    EXPECT_EQ(Decode(Riff({Chunk("fmt ", Format()), Chunk("data", {})})).error, SoundError::NoAudio);
    EXPECT_EQ(Decode(Riff({Chunk("fmt ", Format(0x55)), Chunk("data", {})})).error, SoundError::NoAudio);

    const Bytes longSilence(std::size_t(kMaxSoundSeconds) * 8000 * 2 + 2, 0);
    EXPECT_EQ(Decode(Riff({Chunk("fmt ", Format(1, 1, 8000, 2)), Chunk("data", longSilence)})).error,
              SoundError::TooLong);

    Bytes noise(4096);
    std::uint32_t state = 12345;
    for (auto& b : noise) b = std::uint8_t((state = state * 1103515245 + 12345) >> 24);
    const auto garbage = Decode(Riff({Chunk("fmt ", Format(0x55)), Chunk("data", noise)}));
    EXPECT_TRUE(garbage.error == SoundError::BadStream || garbage.error == SoundError::NoAudio)
        << Describe(garbage.error);
}

// The sea sound as the program embeds it, decoded.
class SeaSound : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        const auto parsed = ParseWave(platform::FindResourceBytes("SoundName"));
        ASSERT_TRUE(parsed) << Describe(parsed.error);
        wave_ = parsed.value;
        auto decoded = DecodeWave(wave_);
        ASSERT_TRUE(decoded) << Describe(decoded.error);
        sound_ = new PcmSound(std::move(decoded.value));
    }
    static void TearDownTestSuite() {
        delete sound_;
        sound_ = nullptr;
    }
    void SetUp() override { ASSERT_NE(sound_, nullptr); }

    static double Rms(std::span<const std::int16_t> s) {
        double sum = 0;
        for (std::int16_t v : s) sum += double(v) * v;
        return std::sqrt(sum / double(s.size()));
    }

    static inline WaveFile wave_;
    static inline PcmSound* sound_ = nullptr;
};

TEST_F(SeaSound, IsAMpegWaveOf20To40SecondsOf22050HzStereo) {
    EXPECT_EQ(wave_.coding, WaveCoding::MpegLayer3);
    EXPECT_EQ(sound_->sampleRate, 22050);
    EXPECT_EQ(sound_->channels, 2);
    const double seconds = double(sound_->Frames()) / sound_->sampleRate;
    EXPECT_GE(seconds, 20.0);
    EXPECT_LE(seconds, 40.0);
    ASSERT_TRUE(wave_.frameCount);
    EXPECT_EQ(sound_->Frames(), *wave_.frameCount);
}

TEST_F(SeaSound, DecoderTrimsTheEncoderDelayAndPaddingItself) {
    // Without the fact chunk's length only the LAME tag tells the padding.
    WaveFile untold = wave_;
    untold.frameCount.reset();
    const auto decoded = DecodeWave(untold);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded.value.samples, sound_->samples);
}

TEST_F(SeaSound, IsNeitherQuietNorClipped) {
    const double dbfs = 20 * std::log10(Rms(sound_->samples) / 32768.0);
    EXPECT_GE(dbfs, -20.0);
    EXPECT_LE(dbfs, -14.0);
    const auto [low, high] = std::minmax_element(sound_->samples.begin(), sound_->samples.end());
    EXPECT_GT(*low, -32768);
    EXPECT_LT(*high, 32767);
}

TEST_F(SeaSound, LoopsWithoutASeam) {
    const std::size_t frames = sound_->Frames();
    const std::size_t fiveMs = std::size_t(sound_->sampleRate) / 200;
    for (int channel = 0; channel < 2; ++channel) {
        std::vector<std::int16_t> x(frames);
        for (std::size_t i = 0; i < frames; ++i) x[i] = sound_->samples[2 * i + std::size_t(channel)];
        std::vector<int> steps(frames - 1);
        for (std::size_t i = 0; i + 1 < frames; ++i) steps[i] = std::abs(x[i + 1] - x[i]);
        std::nth_element(steps.begin(), steps.begin() + std::ptrdiff_t(steps.size() * 99 / 100), steps.end());
        const int p99 = steps[steps.size() * 99 / 100];
        EXPECT_LE(std::abs(x.front() - x.back()), p99) << "channel " << channel;
        // No gap of silence or jump of level either side of the seam.
        const double head = Rms({x.data(), fiveMs});
        const double tail = Rms({x.data() + frames - fiveMs, fiveMs});
        EXPECT_GT(head, 0.5 * tail) << "channel " << channel;
        EXPECT_LT(head, 2.0 * tail) << "channel " << channel;
    }
}

TEST(SoundCursor, LoopingGoesOnFromTheStartInBuffersOfAnySize) {
    const std::vector<std::int16_t> sound{1, 2, 3, 4, 5, 6, 7};
    SoundCursor cursor(sound, true);
    std::vector<std::int16_t> played;
    for (std::size_t size : {3u, 5u, 1u, 11u, 2u}) {
        std::vector<std::int16_t> buffer(size, -9);
        EXPECT_EQ(cursor.Fill(buffer), size);
        played.insert(played.end(), buffer.begin(), buffer.end());
    }
    ASSERT_EQ(played.size(), 22u);
    for (std::size_t i = 0; i < played.size(); ++i) EXPECT_EQ(played[i], sound[i % sound.size()]) << i;
    EXPECT_FALSE(cursor.Ended());
}

TEST(SoundCursor, PlayingOnceEndsInSilence) {
    const std::vector<std::int16_t> sound{1, 2, 3, 4, 5};
    SoundCursor cursor(sound, false);
    std::vector<std::int16_t> first(3, -9);
    EXPECT_EQ(cursor.Fill(first), 3u);
    EXPECT_FALSE(cursor.Ended());
    std::vector<std::int16_t> second(4, -9);
    EXPECT_EQ(cursor.Fill(second), 2u);
    EXPECT_EQ(second, (std::vector<std::int16_t>{4, 5, 0, 0}));
    EXPECT_TRUE(cursor.Ended());
    std::vector<std::int16_t> third(2, -9);
    EXPECT_EQ(cursor.Fill(third), 0u);
    EXPECT_EQ(third, (std::vector<std::int16_t>{0, 0}));

    SoundCursor silent({}, true);
    std::vector<std::int16_t> buffer(4, -9);
    EXPECT_EQ(silent.Fill(buffer), 0u);
    EXPECT_EQ(buffer, (std::vector<std::int16_t>(4, 0)));
}

}  // namespace
