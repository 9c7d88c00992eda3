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

SoundPlayer::SoundPlayer(PcmSound sound, bool loop)
    : sound_(std::move(sound)), cursor_(sound_.samples, loop) {}

std::unique_ptr<SoundPlayer> SoundPlayer::Start(PcmSound sound, bool loop, std::string& error) {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        error = SDL_GetError();
        return nullptr;
    }
    // From here on the player owns one reference to the audio subsystem.
    std::unique_ptr<SoundPlayer> player(new SoundPlayer(std::move(sound), loop));
    SDL_AudioSpec wanted{};
    wanted.freq = player->sound_.sampleRate;
    wanted.format = AUDIO_S16SYS;
    wanted.channels = Uint8(player->sound_.channels);
    wanted.samples = 1024;
    wanted.callback = &SoundPlayer::FillDeviceBuffer;
    wanted.userdata = player.get();
    SDL_AudioSpec obtained{};
    // No changes allowed: SDL converts to whatever the device really takes.
    player->device_ = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
    if (player->device_ == 0) {
        error = SDL_GetError();
        return nullptr;
    }
    SDL_PauseAudioDevice(player->device_, 0);
    return player;
}

SoundPlayer::~SoundPlayer() {
    // Closing waits for a running callback, so the samples outlive it.
    if (device_ != 0) SDL_CloseAudioDevice(device_);
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

void SoundPlayer::FillDeviceBuffer(void* self, std::uint8_t* stream, int bytes) {
    auto& player = *static_cast<SoundPlayer*>(self);
    // SDL's buffers are allocated suitably aligned for the sample format.
    std::span<std::int16_t> out(reinterpret_cast<std::int16_t*>(stream),
                                std::size_t(bytes) / sizeof(std::int16_t));
    const std::size_t taken = player.cursor_.Fill(out);
    player.framesPlayed_ += taken / std::size_t(player.sound_.channels);
    if (player.cursor_.Ended()) player.finished_ = true;
}

}  // namespace platform::audio
