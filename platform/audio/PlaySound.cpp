// PlaySoundA over the embedded wave resources and the SDL2 sound player.
//
// Every sound plays asynchronously (the program only ever asks for
// SND_ASYNC), and a name is always that of an embedded resource: the program
// opens no sound files. Whatever goes wrong, the call is silent and TRUE.

#include "platform/Resources.h"
#include "platform/audio/SoundDecoder.h"
#include "platform/audio/SoundPlayer.h"
#include "platform/audio/WaveFile.h"
#include "platform/winapi/MMSystem.h"

#include <atomic>
#include <cstdio>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

namespace {

using platform::audio::SoundPlayer;

// One line on standard error per kind of problem and process: a saver that
// starts its sound on every run must not repeat the same complaint.
enum class Problem : unsigned { MissingResource = 1, BrokenResource = 2, NoDevice = 4 };

class SoundService {
public:
    BOOL Play(const char* name, DWORD flags) {
        std::lock_guard lock(mutex_);
        last_ = platform::PlaySoundRecord{name ? std::optional<std::string>(name) : std::nullopt, flags};
        ++calls_;
        // Closing the device waits for its callback, which never takes this lock.
        player_.reset();
        if (name == nullptr || !outputEnabled_) return TRUE;

        const auto bytes = platform::FindResourceBytes(name);
        if (bytes.empty()) {
            Report(Problem::MissingResource, name, "no such resource");
            return TRUE;
        }
        auto wave = platform::audio::ParseWave(bytes);
        if (!wave) {
            Report(Problem::BrokenResource, name, platform::audio::Describe(wave.error));
            return TRUE;
        }
        // The device opens now; the sound is decoded while the caller goes
        // on, and plays once it is there.
        auto decode = [this, wave = wave.value,
                       shown = std::string(name)]() -> std::optional<platform::audio::PcmSound> {
            auto decoded = platform::audio::DecodeWave(wave);
            if (!decoded) {
                Report(Problem::BrokenResource, shown, platform::audio::Describe(decoded.error));
                return std::nullopt;
            }
            return std::move(decoded.value);
        };
        std::string error;
        player_ = SoundPlayer::StartDecoding(wave.value.channels, wave.value.sampleRate,
                                             (flags & SND_LOOP) != 0, std::move(decode), error);
        if (!player_) Report(Problem::NoDevice, name, "no audio device (" + error + ")");
        return TRUE;
    }

    void SetOutputEnabled(bool enabled) {
        std::lock_guard lock(mutex_);
        outputEnabled_ = enabled;
        if (!enabled) player_.reset();
    }

    std::optional<platform::PlaySoundRecord> Last() {
        std::lock_guard lock(mutex_);
        return last_;
    }

    int Calls() {
        std::lock_guard lock(mutex_);
        return calls_;
    }

private:
    // Also from a decoding thread, without the lock that Play holds while
    // it waits for that thread.
    void Report(Problem problem, std::string_view name, std::string_view detail) {
        const auto bit = static_cast<unsigned>(problem);
        if ((reported_.fetch_or(bit) & bit) != 0) return;
        std::fprintf(stderr, "Sound: \"%.*s\" is not played: %.*s\n", int(name.size()), name.data(),
                     int(detail.size()), detail.data());
    }

    std::mutex mutex_;
    bool outputEnabled_ = true;
    std::optional<platform::PlaySoundRecord> last_;
    int calls_ = 0;
    std::atomic<unsigned> reported_ = 0;
    std::unique_ptr<SoundPlayer> player_;
};

SoundService& Service() {
    static SoundService service;
    return service;
}

}  // namespace

BOOL PlaySoundA(const char* sound, HMODULE, DWORD flags) { return Service().Play(sound, flags); }

namespace platform {

void SetAudioOutputEnabled(bool enabled) { Service().SetOutputEnabled(enabled); }

std::optional<PlaySoundRecord> LastPlaySoundCall() { return Service().Last(); }

int PlaySoundCallCount() { return Service().Calls(); }

}  // namespace platform
