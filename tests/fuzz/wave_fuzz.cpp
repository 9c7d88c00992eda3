// Arbitrary bytes as an embedded wave resource: parsing and decoding must
// fail cleanly or give a consistent sound, never read outside the bytes.

#include "platform/audio/SoundDecoder.h"
#include "platform/audio/WaveFile.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace platform::audio;
    const auto parsed = ParseWave({data, size});
    if (!parsed) return 0;
    const WaveFile& wave = parsed.value;
    const bool inside =
        wave.data.empty() || (wave.data.data() >= data && wave.data.data() + wave.data.size() <= data + size);
    if (!inside || wave.channels < 1 || wave.channels > 2) std::abort();

    const auto decoded = DecodeWave(wave);
    if (!decoded) return 0;
    const PcmSound& sound = decoded.value;
    if (sound.samples.empty() || sound.samples.size() % std::size_t(sound.channels) != 0 ||
        sound.channels != wave.channels || sound.sampleRate != wave.sampleRate)
        std::abort();
    return 0;
}
