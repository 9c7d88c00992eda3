#include "platform/FramePacer.h"
#include "platform/backends/sdl/SdlInput.h"
#include "platform/backends/sdl/StartupKeys.h"

#include <gtest/gtest.h>

namespace {

using platform::FramePacer;
using namespace std::chrono_literals;

TEST(SdlKeys, KeysGetTheOriginalPlatformsCodes) {
    using platform::sdl::VirtualKeyOf;
    EXPECT_EQ(VirtualKeyOf(SDLK_a), 'A');
    EXPECT_EQ(VirtualKeyOf(SDLK_z), 'Z');
    EXPECT_EQ(VirtualKeyOf(SDLK_0), '0');
    EXPECT_EQ(VirtualKeyOf(SDLK_9), '9');
    EXPECT_EQ(VirtualKeyOf(SDLK_ESCAPE), VK_ESCAPE);
    EXPECT_EQ(VirtualKeyOf(SDLK_RETURN), VK_RETURN);
    EXPECT_EQ(VirtualKeyOf(SDLK_KP_ENTER), VK_RETURN);
    EXPECT_EQ(VirtualKeyOf(SDLK_SPACE), VK_SPACE);
    EXPECT_EQ(VirtualKeyOf(SDLK_LEFT), VK_LEFT);
    EXPECT_EQ(VirtualKeyOf(SDLK_UP), VK_UP);
    EXPECT_EQ(VirtualKeyOf(SDLK_RIGHT), VK_RIGHT);
    EXPECT_EQ(VirtualKeyOf(SDLK_DOWN), VK_DOWN);
    EXPECT_EQ(VirtualKeyOf(SDLK_F1), VK_F1);
    EXPECT_EQ(VirtualKeyOf(SDLK_F12), VK_F1 + 11);
    EXPECT_EQ(VirtualKeyOf(SDLK_KP_PLUS), VK_ADD);
    EXPECT_EQ(VirtualKeyOf(SDLK_KP_MINUS), VK_SUBTRACT);
    EXPECT_EQ(VirtualKeyOf(SDLK_KP_0), 0x60);
    EXPECT_EQ(VirtualKeyOf(SDLK_KP_9), 0x69);
    EXPECT_EQ(VirtualKeyOf(SDLK_LSHIFT), VK_SHIFT);
    EXPECT_EQ(VirtualKeyOf(SDLK_RCTRL), VK_CONTROL);
    EXPECT_EQ(VirtualKeyOf(SDLK_LALT), VK_MENU);
    EXPECT_EQ(VirtualKeyOf(SDLK_MINUS), 0xBD);
    // A key without a code still reaches the form: any key ends the saver.
    EXPECT_EQ(VirtualKeyOf(SDLK_AUDIOPLAY), 0xFF);
}

TEST(SdlKeys, ShiftStatesAndTheCharactersTextInputLeavesOut) {
    using platform::sdl::ControlCharacterOf;
    using platform::sdl::ShiftStateOf;
    EXPECT_EQ(ShiftStateOf(KMOD_NONE), 0u);
    EXPECT_EQ(ShiftStateOf(KMOD_RSHIFT), ssShift);
    EXPECT_EQ(ShiftStateOf(KMOD_LCTRL | KMOD_RALT), ssCtrl | ssAlt);
    EXPECT_EQ(ShiftStateOf(KMOD_NUM | KMOD_CAPS), 0u);

    EXPECT_EQ(ControlCharacterOf(SDLK_ESCAPE), 27);
    EXPECT_EQ(ControlCharacterOf(SDLK_RETURN), 13);
    EXPECT_EQ(ControlCharacterOf(SDLK_KP_ENTER), 13);
    EXPECT_EQ(ControlCharacterOf(SDLK_BACKSPACE), 8);
    EXPECT_EQ(ControlCharacterOf(SDLK_TAB), 9);
    EXPECT_EQ(ControlCharacterOf(SDLK_a), 0);
    EXPECT_EQ(ControlCharacterOf(SDLK_PLUS), 0);
}

TEST(SdlKeys, TypedTextBecomesAnsiCharacters) {
    using platform::sdl::AnsiFromUtf8;
    EXPECT_EQ(AnsiFromUtf8("+-a"), "+-a");
    EXPECT_EQ(AnsiFromUtf8("\xC3\xA9\xC2\xA3"), "\xE9\xA3");  // é £
    EXPECT_EQ(AnsiFromUtf8("\xE2\x82\xAC"), "?");             // € has no Latin-1 byte
    EXPECT_EQ(AnsiFromUtf8("\xF0\x9F\x98\x80x"), "?x");
    // Malformed input: a lone continuation byte, a cut-off sequence.
    EXPECT_EQ(AnsiFromUtf8("\x80"
                           "a"),
              "?a");
    EXPECT_EQ(AnsiFromUtf8("a\xC3"), "a?");
    EXPECT_EQ(AnsiFromUtf8("\xC3"
                           "a"),
              "?a");
}

TEST(FramePacing, SlotsLieWholePeriodsApartWithoutDrift) {
    const FramePacer::Clock::time_point start{};
    FramePacer pacer(10ms, false);
    EXPECT_EQ(pacer.Slot(start), start);
    // Rendering took 3 ms: wait for the slot, not a period from now.
    EXPECT_EQ(pacer.Slot(start + 3ms), start + 10ms);
    // Waking late from the sleep does not move later slots.
    EXPECT_EQ(pacer.Slot(start + 11ms), start + 20ms);
    EXPECT_EQ(pacer.Slot(start + 29ms), start + 30ms);
}

TEST(FramePacing, LateFrameRestartsTheScheduleInsteadOfABurst) {
    const FramePacer::Clock::time_point start{};
    FramePacer pacer(10ms, false);
    pacer.Slot(start);
    EXPECT_EQ(pacer.Slot(start + 35ms), start + 35ms);
    EXPECT_EQ(pacer.Slot(start + 36ms), start + 45ms);
}

TEST(FramePacing, TakesOverWhenTheVerticalSyncDoesNotPace) {
    FramePacer::Clock::time_point now{};
    FramePacer synced(10ms, true);
    for (int frame = 0; frame < 100; ++frame) {
        EXPECT_EQ(synced.Slot(now), now);
        now += 10ms;  // presents that waited for the screen
        synced.Presented(now);
    }
    EXPECT_TRUE(synced.DisplayPaces());

    FramePacer fake(10ms, true);
    for (int frame = 0; frame < 100; ++frame) {
        now += 1ms;  // presents that came straight back
        fake.Presented(now);
    }
    EXPECT_FALSE(fake.DisplayPaces());
    const auto first = fake.Slot(now);
    EXPECT_EQ(fake.Slot(first + 1ms), first + 10ms);
}

}  // namespace

TEST(SdlKeys, KeysHeldAtTheStartCountOnlyOnceAllAreLetGo) {
    using platform::sdl::KeyBitmap;
    using platform::sdl::StartupKeys;
    EXPECT_FALSE(StartupKeys().Holding());
    EXPECT_FALSE(StartupKeys(KeyBitmap{}).Holding());

    KeyBitmap down{};
    down[4] = 0b0001'0010;  // two keys, as X sets them at the start
    StartupKeys keys(down);
    EXPECT_TRUE(keys.Holding());
    // A key pressed later does not make a held one count as held again.
    KeyBitmap later = down;
    later[4] = 0b0000'0010;
    later[9] = 0b1000'0000;
    keys.KeyReleased(later);
    EXPECT_TRUE(keys.Holding());
    keys.KeyReleased(KeyBitmap{});
    EXPECT_FALSE(keys.Holding());
    keys.KeyReleased(down);
    EXPECT_FALSE(keys.Holding());
}
