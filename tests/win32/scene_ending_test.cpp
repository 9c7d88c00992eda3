// The scene's endings on Windows: a key, and from outside, closed by another
// program, the session ending and the screen given to another program, each
// run the one closing: the frames and the timer stop, the display closes, the
// system is told that no saver runs, and the message loop ends.
#include "platform/forms/Forms.h"
#include "scene/SceneForm.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

bool SaverRunning() {
    BOOL running = FALSE;
    SystemParametersInfoA(SPI_GETSCREENSAVERRUNNING, 0, &running, 0);
    return running != FALSE;
}

class Win32SceneEnding : public ::testing::TestWithParam<UINT> {
protected:
    SceneForm* Start() {
        application_ = std::make_unique<TApplication>();
        SceneForm* scene = application_->CreateForm<SceneForm>(SceneOptions{1u, true, {}});
        EXPECT_TRUE(scene->Built());
        scene->Show();
        return scene;
    }
    void TearDown() override { application_.reset(); }

    std::unique_ptr<TApplication> application_;
};

TEST_P(Win32SceneEnding, EndsTheSceneAndTellsTheSystem) {
    SceneForm* scene = Start();
    ASSERT_TRUE(SaverRunning());
    const UINT message = GetParam();
    const WPARAM argument = message == WM_CHAR ? 'q' : message == WM_ENDSESSION ? TRUE : FALSE;
    SendMessageA(scene->Handle(), message, argument, 0);
    EXPECT_TRUE(scene->Closed());
    EXPECT_TRUE(application_->Terminated());
    EXPECT_FALSE(Application->OnIdle) << "no frame is drawn any more";
    EXPECT_EQ(scene->display.directDraw, nullptr) << "the display is closed";
    EXPECT_FALSE(scene->gamma.Enabled());
    EXPECT_FALSE(SaverRunning());
    EXPECT_FALSE(IsWindowVisible(scene->Handle()));
}

INSTANTIATE_TEST_SUITE_P(Endings, Win32SceneEnding,
                         ::testing::Values(WM_CHAR, WM_CLOSE, WM_ENDSESSION, WM_ACTIVATEAPP),
                         [](const ::testing::TestParamInfo<UINT>& info) {
                             return info.param == WM_CHAR         ? "Key"
                                    : info.param == WM_CLOSE      ? "Close"
                                    : info.param == WM_ENDSESSION ? "SessionEnd"
                                                                  : "ScreenGivenAway";
                         });

}  // namespace
