#include "platform/audio/SoundPlayer.h"

#include <SDL.h>

#include <algorithm>
#include <cstring>

namespace platform::audio {

SoundCursor::SoundCursor(std::span<const std::int16_t> samples, bool loop)
    : samples_(samples), loop_(loop), ended_(samples.empty()) {}

std::size_t SoundCursor::Fill(std::span<std::int16_t> out) {
    std::size_t taken = 0;
    while (taken < out.size() && !ended_) {
        if (position_ == samples_.size()) {
            if (!loop_) {
                ended_ = true;
                break;
            }
            position_ = 0;
        }
        const std::size_t n = std::min(out.size() - taken, samples_.size() - position_);
        std::memcpy(out.data() + taken, samples_.data() + position_, n * sizeof(std::int16_t));
        taken += n;
        position_ += n;
    }
    if (!loop_ && position_ == samples_.size()) ended_ = true;
    std::fill(out.begin() + std::ptrdiff_t(taken), out.end(), std::int16_t{0});
    return taken;
}

SoundPlayer::SoundPlayer(int channels, int sampleRate, bool loop)
    : channels_(channels), sampleRate_(sampleRate), loop_(loop) {}

std::unique_ptr<SoundPlayer> SoundPlayer::Start(PcmSound sound, bool loop, std::string& error) {
    std::unique_ptr<SoundPlayer> player(new SoundPlayer(sound.channels, sound.sampleRate, loop));
    player->Supply(std::move(sound));
    if (!player->Open(error)) return nullptr;
    return player;
}

std::unique_ptr<SoundPlayer> SoundPlayer::StartDecoding(int channels, int sampleRate, bool loop,
                                                        std::function<std::optional<PcmSound>()> decode,
                                                        std::string& error) {
    std::unique_ptr<SoundPlayer> player(new SoundPlayer(channels, sampleRate, loop));
    if (!player->Open(error)) return nullptr;
    player->decoder_ = std::jthread([raw = player.get(), decode = std::move(decode)] {
        if (auto sound = decode()) raw->Supply(std::move(*sound));
    });
    return player;
}

void SoundPlayer::Supply(PcmSound sound) {
    sound_ = std::move(sound);
    ready_.store(true, std::memory_order_release);
}

// From here on the player owns one reference to the audio subsystem.
bool SoundPlayer::Open(std::string& error) {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        error = SDL_GetError();
        return false;
    }
    subsystem_ = true;
    SDL_AudioSpec wanted{};
    wanted.freq = sampleRate_;
    wanted.format = AUDIO_S16SYS;
    wanted.channels = Uint8(channels_);
    wanted.samples = 1024;
    wanted.callback = &SoundPlayer::FillDeviceBuffer;
    wanted.userdata = this;
    SDL_AudioSpec obtained{};
    // No changes allowed: SDL converts to whatever the device really takes.
    device_ = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
    if (device_ == 0) {
        error = SDL_GetError();
        return false;
    }
    SDL_PauseAudioDevice(device_, 0);
    return true;
}

SoundPlayer::~SoundPlayer() {
    if (decoder_.joinable()) decoder_.join();
    // Closing waits for a running callback, so the samples outlive it.
    if (device_ != 0) SDL_CloseAudioDevice(device_);
    if (subsystem_) SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

void SoundPlayer::FillDeviceBuffer(void* self, std::uint8_t* stream, int bytes) {
    auto& player = *static_cast<SoundPlayer*>(self);
    // SDL's buffers are allocated suitably aligned for the sample format.
    std::span<std::int16_t> out(reinterpret_cast<std::int16_t*>(stream),
                                std::size_t(bytes) / sizeof(std::int16_t));
    player.deviceFrames_ += out.size() / std::size_t(player.channels_);
    if (!player.cursor_) {
        if (!player.ready_.load(std::memory_order_acquire)) {
            std::fill(out.begin(), out.end(), std::int16_t{0});
            return;
        }
        player.cursor_.emplace(player.sound_.samples, player.loop_);
    }
    const std::size_t taken = player.cursor_->Fill(out);
    player.framesPlayed_ += taken / std::size_t(player.channels_);
    if (player.cursor_->Ended()) player.finished_ = true;
}

}  // namespace platform::audio
