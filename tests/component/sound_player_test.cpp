// PlaySoundA and the SDL2 player on SDL's dummy audio driver: what is
// recorded, when the audio device is held and released, and real playing.

#include "platform/audio/SoundPlayer.h"
#include "platform/winapi/MMSystem.h"
#include "tests/unit/Eventually.h"

#include <gtest/gtest.h>

#include <SDL.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <future>
#include <optional>
#include <string>
#include <vector>

namespace {

using platform::audio::PcmSound;
using platform::audio::SoundPlayer;

constexpr DWORD kLoopFlags = SND_RESOURCE | SND_ASYNC | SND_LOOP;

bool AudioHeld() { return SDL_WasInit(SDL_INIT_AUDIO) != 0; }

class PlaySoundTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        platform::SetAudioOutputEnabled(true);
        PlaySoundA(nullptr, nullptr, SND_RESOURCE);
        heldBefore_ = AudioHeld();
    }
    void TearDown() override {
        PlaySoundA(nullptr, nullptr, SND_RESOURCE);
        platform::SetAudioOutputEnabled(true);
    }
    // Whether the audio subsystem is back to how it was before the test.
    bool Released() const { return AudioHeld() == heldBefore_; }

    bool heldBefore_ = false;
};

TEST_F(PlaySoundTest, RecordsEveryCallWithoutOpeningADeviceWhenOutputIsOff) {
    platform::SetAudioOutputEnabled(false);
    const int before = platform::PlaySoundCallCount();

    EXPECT_EQ(PlaySoundA("SoundName", nullptr, kLoopFlags), TRUE);
    EXPECT_TRUE(Released());
    auto last = platform::LastPlaySoundCall();
    ASSERT_TRUE(last);
    EXPECT_EQ(last->sound, "SoundName");
    EXPECT_EQ(last->flags, kLoopFlags);

    EXPECT_EQ(PlaySoundA(nullptr, nullptr, SND_RESOURCE), TRUE);
    last = platform::LastPlaySoundCall();
    ASSERT_TRUE(last);
    EXPECT_FALSE(last->sound) << "a stop request has no name";
    EXPECT_EQ(last->flags, SND_RESOURCE);
    EXPECT_EQ(platform::PlaySoundCallCount(), before + 2);
}

TEST_F(PlaySoundTest, PlaysTheSeaSoundAndReleasesTheDeviceOnStop) {
    ASSERT_EQ(PlaySoundA("SoundName", nullptr, kLoopFlags), TRUE);
    EXPECT_TRUE(AudioHeld()) << "the dummy driver always has a device";
    // Starting again replaces the sound rather than adding a second device.
    ASSERT_EQ(PlaySoundA("SoundName", nullptr, kLoopFlags), TRUE);
    EXPECT_TRUE(AudioHeld());
    EXPECT_EQ(PlaySoundA(nullptr, nullptr, SND_RESOURCE), TRUE);
    EXPECT_TRUE(Released());
    EXPECT_EQ(PlaySoundA(nullptr, nullptr, SND_RESOURCE), TRUE) << "stopping twice is harmless";
}

TEST_F(PlaySoundTest, TurningOutputOffStopsTheSound) {
    ASSERT_EQ(PlaySoundA("SoundName", nullptr, kLoopFlags), TRUE);
    EXPECT_TRUE(AudioHeld());
    platform::SetAudioOutputEnabled(false);
    EXPECT_TRUE(Released());
}

TEST_F(PlaySoundTest, MissingSoundIsSilentTrueAndReportedAtMostOnce) {
    testing::internal::CaptureStderr();
    for (int i = 0; i < 3; ++i) EXPECT_EQ(PlaySoundA("NoSuchSound", nullptr, kLoopFlags), TRUE);
    const std::string printed = testing::internal::GetCapturedStderr();
    EXPECT_TRUE(Released());
    EXPECT_LE(std::count(printed.begin(), printed.end(), '\n'), 1) << printed;
}

int Churn(void*) {
    for (int i = 0; i < 4; ++i) {
        PlaySoundA("SoundName", nullptr, kLoopFlags);
        PlaySoundA(nullptr, nullptr, SND_RESOURCE);
    }
    return 0;
}

TEST_F(PlaySoundTest, WindowThreadAndExitPathMayCallAtOnce) {
    const int before = platform::PlaySoundCallCount();
    // An SDL thread: SDL 2.26 frees its per-thread error text only for its own threads.
    SDL_Thread* other = SDL_CreateThread(Churn, "churn", nullptr);
    ASSERT_NE(other, nullptr) << SDL_GetError();
    Churn(nullptr);
    SDL_WaitThread(other, nullptr);
    EXPECT_EQ(platform::PlaySoundCallCount(), before + 16);
    PlaySoundA(nullptr, nullptr, SND_RESOURCE);
    EXPECT_TRUE(Released());
}

// A short stereo ramp, so every sample is told apart.
PcmSound Ramp(std::size_t frames) {
    PcmSound sound{2, 22050, std::vector<std::int16_t>(2 * frames)};
    for (std::size_t i = 0; i < sound.samples.size(); ++i) sound.samples[i] = std::int16_t(i % 20000);
    return sound;
}

class SoundPlayerTest : public ::testing::Test {
protected:
    void SetUp() override { setenv("SDL_AUDIODRIVER", "dummy", 1); }
};

TEST_F(SoundPlayerTest, PlaysOnceToTheEndThenFallsSilent) {
    std::string error;
    auto player = SoundPlayer::Start(Ramp(2205), false, error);
    ASSERT_NE(player, nullptr) << error;
    EXPECT_TRUE(Eventually([&] { return player->Finished(); }));
    EXPECT_EQ(player->FramesPlayed(), 2205u);
}

TEST_F(SoundPlayerTest, LoopsPastTheEndUntilDestroyed) {
    std::string error;
    auto player = SoundPlayer::Start(Ramp(441), true, error);
    ASSERT_NE(player, nullptr) << error;
    EXPECT_TRUE(Eventually([&] { return player->FramesPlayed() > 3 * 441; }));
    EXPECT_FALSE(player->Finished());
    player.reset();
}

// The device plays silence while the sound is decoded elsewhere; a decode
// that fails leaves it silent for good.
TEST_F(SoundPlayerTest, ADecodedSoundPlaysOnceItIsThereAndAFailedOneNever) {
    std::string error;
    std::promise<void> decoded;
    std::shared_future<void> gate = decoded.get_future().share();
    auto player = SoundPlayer::StartDecoding(
        2, 22050, false,
        [gate]() -> std::optional<PcmSound> {
            gate.wait();
            return Ramp(2205);
        },
        error);
    if (player == nullptr) decoded.set_value();
    ASSERT_NE(player, nullptr) << error;
    // The device takes a sound's length of silence while the decode waits.
    const bool tookSilence = Eventually([&] { return player->DeviceFrames() > 2205; });
    const std::uint64_t beforeDecoded = player->FramesPlayed();
    decoded.set_value();
    ASSERT_TRUE(tookSilence);
    EXPECT_EQ(beforeDecoded, 0u);
    EXPECT_TRUE(Eventually([&] { return player->Finished(); }));
    EXPECT_EQ(player->FramesPlayed(), 2205u);
    player.reset();

    std::atomic<bool> gaveUp{false};
    auto failed = SoundPlayer::StartDecoding(
        2, 22050, true,
        [&gaveUp] {
            gaveUp = true;
            return std::optional<PcmSound>();
        },
        error);
    ASSERT_NE(failed, nullptr) << error;
    ASSERT_TRUE(Eventually([&] { return gaveUp.load(); }));
    // A sound's length taken by the device after the decode gave up.
    const std::uint64_t taken = failed->DeviceFrames();
    ASSERT_TRUE(Eventually([&] { return failed->DeviceFrames() > taken + 2205; }));
    EXPECT_EQ(failed->FramesPlayed(), 0u);
    EXPECT_FALSE(failed->Finished());
}

TEST_F(SoundPlayerTest, NoDriverMeansNoPlayerAndAReason) {
    if (SDL_WasInit(SDL_INIT_AUDIO)) GTEST_SKIP() << "audio is already set up by someone else";
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    std::string error;
    EXPECT_EQ(SoundPlayer::Start(Ramp(441), true, error), nullptr);
    EXPECT_FALSE(error.empty());
}

}  // namespace
