// Plays one decoded sound on the default audio device (SDL2), once or in an
// endless loop, until the player is destroyed.
#pragma once

#include "platform/audio/SoundDecoder.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <thread>

namespace platform::audio {

// Reads a sound out in buffers of any size. A looping sound goes on from its
// first sample right after its last, so the seam is the sound's own; a sound
// that plays once is followed by silence.
class SoundCursor {
public:
    SoundCursor(std::span<const std::int16_t> samples, bool loop);
    // Fills all of `out`; returns the number of samples taken from the sound.
    std::size_t Fill(std::span<std::int16_t> out);
    bool Ended() const { return ended_; }

private:
    std::span<const std::int16_t> samples_;
    bool loop_;
    std::size_t position_ = 0;
    bool ended_ = false;
};

class SoundPlayer {
public:
    // Opens the default audio device in the sound's own format (SDL converts
    // to the device's) and starts playing. Null, with the reason in `error`,
    // when there is no audio device.
    static std::unique_ptr<SoundPlayer> Start(PcmSound sound, bool loop, std::string& error);
    // The same for a sound of `channels` at `sampleRate` that `decode` makes
    // on a thread of its own, so that the caller does not wait for it: the
    // device plays silence until the sound is there, and for good when
    // `decode` has none.
    static std::unique_ptr<SoundPlayer> StartDecoding(int channels, int sampleRate, bool loop,
                                                      std::function<std::optional<PcmSound>()> decode,
                                                      std::string& error);
    // Stops playing and releases the device, after a decode under way ends.
    ~SoundPlayer();
    SoundPlayer(const SoundPlayer&) = delete;
    SoundPlayer& operator=(const SoundPlayer&) = delete;

    // A sound that plays once has been played to its end.
    bool Finished() const { return finished_.load(); }
    // Frames handed to the device so far, the silence after the end not counted.
    std::uint64_t FramesPlayed() const { return framesPlayed_.load(); }
    // Frames the device has taken in all, silence included.
    std::uint64_t DeviceFrames() const { return deviceFrames_.load(); }

private:
    SoundPlayer(int channels, int sampleRate, bool loop);
    bool Open(std::string& error);
    // Hands the sound to the device's thread; called once.
    void Supply(PcmSound sound);
    static void FillDeviceBuffer(void* self, std::uint8_t* stream, int bytes);

    int channels_;
    int sampleRate_;
    bool loop_;
    PcmSound sound_;  // written once, before ready_
    std::atomic<bool> ready_{false};
    std::optional<SoundCursor> cursor_;  // the device's thread's only, once the sound is ready
    std::jthread decoder_;
    std::atomic<bool> finished_{false};
    std::atomic<std::uint64_t> framesPlayed_{0};
    std::atomic<std::uint64_t> deviceFrames_{0};
    bool subsystem_ = false;  // one reference to SDL's audio held
    std::uint32_t device_ = 0;
};

}  // namespace platform::audio
