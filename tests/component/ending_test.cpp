#include "platform/backends/headless/Headless.h"
#include "platform/winapi/MMSystem.h"
#include "platform/winapi/User.h"
#include "scene/SceneForm.h"
#include "tests/unit/ScratchFolder.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <filesystem>

namespace {

class Ending : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("XDG_CONFIG_HOME", folder.Path().c_str(), 1);
        platform::SetAudioOutputEnabled(false);
    }

    int Stored(const char* name) {
        int value = 0;
        store.Read(name, &value);
        return value;
    }

    SceneForm* Start(bool keyboardOnly = false, bool gamma = true) {
        platform::headless::Install({{800, 600, 32}, 1, gamma});
        if (keyboardOnly) {
            // A first run stores the defaults; then the style is switched in the store.
            application.reset();  // applications nest: the older one must go first
            application = std::make_unique<TApplication>();
            application->CreateForm<SceneForm>(SceneOptions{1u, true, {}})->CloseSaver();
            store.Write("TermMouse", false);
        }
        application.reset();  // applications nest: the older one must go first
        application = std::make_unique<TApplication>();
        return application->CreateForm<SceneForm>(SceneOptions{1u, true, {}});
    }
    void Move(SceneForm* scene, int x, int y) { scene->MouseMove(scene, 0, x, y); }

    ScratchFolder folder;
    std::unique_ptr<TApplication> application;
    SettingsStore store = [] {
        SettingsStore settings(nullptr);
        settings.SetCompanyName("Corvane");
        settings.SetProductName("Tidereach");
        return settings;
    }();
};

}  // namespace

TEST_F(Ending, SmallMouseMovesNeverEndTheSaver) {
    SceneForm* scene = Start();
    Move(scene, 100, 100);  // the first position is only recorded
    for (int step = 1; step <= 200; ++step) Move(scene, 100 + 5 * step, 100 + 5 * step);
    EXPECT_FALSE(scene->Closed());
    Move(scene, 1100 + 6, 1100);
    EXPECT_TRUE(scene->Closed());
    EXPECT_FALSE(platform::LastPlaySoundCall()->sound);  // the sound was stopped
}

TEST_F(Ending, ZeroMeansNoPositionYet) {
    SceneForm* scene = Start();
    Move(scene, 0, 300);
    Move(scene, 200, 302);  // horizontal movement from x 0 does not count
    EXPECT_FALSE(scene->Closed());
    scene->lastMouse.y = 0;  // as a reported y of 0 leaves it
    Move(scene, 202, 400);   // nor vertical movement from y 0
    EXPECT_FALSE(scene->Closed());
    Move(scene, 202, 406);
    EXPECT_TRUE(scene->Closed());
}

TEST_F(Ending, AnyKeyEndsTheKeyboardAndMouseStyle) {
    SceneForm* scene = Start();
    char key = 'q';
    scene->KeyPress(scene, key);
    EXPECT_TRUE(scene->Closed());
    // Once closed the form takes no further input.
    scene->KeyPress(scene, key);
    Move(scene, 700, 500);
}

TEST_F(Ending, KeyboardOnlyStyleEndsOnEscapeAlone) {
    SceneForm* scene = Start(true);
    ASSERT_FALSE(scene->settings.anyInputEnds);
    Move(scene, 100, 100);
    Move(scene, 400, 400);
    char letter = 'x';
    scene->KeyPress(scene, letter);
    WORD arrow = VK_LEFT;
    scene->KeyDown(scene, arrow, 0);
    EXPECT_FALSE(scene->Closed());
    char escape = 27;
    scene->KeyPress(scene, escape);
    EXPECT_TRUE(scene->Closed());
}

TEST_F(Ending, ExitAttemptPutsTheFirstSurfaceBackOnScreen) {
    SceneForm* scene = Start();
    // After set-up one flip was made: an odd count, so one more is needed.
    EXPECT_FALSE(scene->flipParity);
    const int before = platform::headless::PresentedFrameCount();
    scene->TryExit();
    EXPECT_EQ(platform::headless::PresentedFrameCount(), before + 1);
    EXPECT_TRUE(scene->Closed());
    EXPECT_FALSE(scene->exitBusy);
}

TEST_F(Ending, BusyExitAttemptIgnoresFurtherInput) {
    SceneForm* scene = Start();
    scene->exitBusy = true;
    char key = 'q';
    scene->KeyPress(scene, key);
    EXPECT_FALSE(scene->Closed());
    scene->exitBusy = false;
}

TEST_F(Ending, StallOfTheTimerClosesWithoutAPasswordCheck) {
    SceneForm* scene = Start();
    scene->OnTimerStall(&scene->frameTimer);
    EXPECT_FALSE(scene->Closed());  // handed to the window thread
    application->ProcessMessages();
    EXPECT_TRUE(scene->Closed());
}

TEST_F(Ending, GammaKeysStepAndStoreTheLevel) {
    SceneForm* scene = Start(true);
    char minus = '-', plus = '+';
    scene->KeyPress(scene, minus);
    EXPECT_EQ(scene->gamma.Level(), 255);
    scene->KeyPress(scene, plus);
    scene->KeyPress(scene, plus);
    EXPECT_EQ(scene->gamma.Level(), 256);  // held at 256
    EXPECT_EQ(Stored("Gamma"), 256);
}

TEST_F(Ending, GammaKeysWriteNothingWithoutGammaSupport) {
    SceneForm* scene = Start(true, false);
    store.Write("Gamma", 100);
    char minus = '-';
    scene->KeyPress(scene, minus);
    EXPECT_EQ(Stored("Gamma"), 100);
}

TEST_F(Ending, ClockKeysMoveWithinTheMarginsAndStore) {
    SceneForm* scene = Start(true);
    scene->settings.clockCentreX = 90;
    WORD left = VK_LEFT, right = VK_RIGHT;
    scene->KeyDown(scene, left, 0);
    EXPECT_EQ(scene->settings.clockCentreX, 90);
    scene->settings.clockCentreX = 50;  // outside, as a hand edit could leave it
    scene->KeyDown(scene, left, 0);
    EXPECT_EQ(scene->settings.clockCentreX, 50);
    scene->KeyDown(scene, right, 0);
    EXPECT_EQ(scene->settings.clockCentreX, 51);
    EXPECT_EQ(scene->clock.CenterX(), 51);
    EXPECT_EQ(Stored("clockX"), 51);
}

// Clock values near the ends of the integers, as only a hand edit leaves
// them: the keys neither overflow nor walk the clock off the screen, and a
// frame draws it.
TEST_F(Ending, ExtremeClockValuesStayInPlace) {
    Start(true)->CloseSaver();
    store.Write("clockRad", INT_MAX - 10);
    store.Write("clockX", 500);
    store.Write("clockY", INT_MIN);
    SceneForm* scene = Start();
    WORD left = VK_LEFT, up = VK_UP, down = VK_DOWN;
    scene->KeyDown(scene, left, 0);
    EXPECT_EQ(scene->settings.clockCentreX, 500);  // no room left of it for such a clock
    scene->KeyDown(scene, up, 0);
    EXPECT_EQ(scene->settings.clockCentreY, INT_MIN);
    scene->KeyDown(scene, down, 0);
    EXPECT_EQ(scene->settings.clockCentreY, INT_MIN + 1);  // only towards the inside
    bool done = true;
    Application->OnIdle(scene, done);

    scene->CloseSaver();
    store.Write("clockRad", INT_MIN + 5);
    store.Write("clockX", INT_MAX);
    scene = Start();
    WORD right = VK_RIGHT;
    scene->KeyDown(scene, right, 0);
    EXPECT_EQ(scene->settings.clockCentreX, INT_MAX);
    scene->KeyDown(scene, left, 0);
    EXPECT_EQ(scene->settings.clockCentreX, INT_MAX - 1);
    EXPECT_EQ(Stored("clockX"), INT_MAX - 1);
    Application->OnIdle(scene, done);
}
