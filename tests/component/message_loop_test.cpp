#include "platform/backends/headless/Headless.h"
#include "platform/forms/Forms.h"
#include "platform/winapi/User.h"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace {

namespace headless = platform::headless;

class MessageLoop : public ::testing::Test {
protected:
    void SetUp() override {
        headless::Install();
        platform::headless::ClearShownMessageBoxes();
        application.Title = "Loop test";
    }

    TApplication application;
};

TEST_F(MessageLoop, PostedWorkComesFirstOneMessagePerTurnThenIdle) {
    auto* form = application.CreateForm<TForm>();
    form->Show();
    std::vector<std::string> log;
    form->OnKeyDown = [&](TObject* sender, WORD& key, TShiftState shift) {
        EXPECT_EQ(sender, form);
        log.push_back("key " + std::string(1, char(key)) + " shift " + std::to_string(shift));
        if (key == 'A') {
            application.Post([&] { log.push_back("posted by A"); });
        }
    };
    headless::PushKeyDown('A', ssShift);
    headless::PushKeyDown('B');
    application.Post([&] { log.push_back("posted"); });
    application.OnIdle = [&](TObject* sender, bool&) {
        EXPECT_EQ(sender, &application);
        log.push_back("idle");
        form->Close();
    };

    application.Run();

    const std::vector<std::string> expected = {"posted", "key A shift 1", "posted by A", "key B shift 0",
                                               "idle"};
    EXPECT_EQ(log, expected);
    EXPECT_TRUE(application.Terminated());
    EXPECT_FALSE(form->Visible());
}

TEST_F(MessageLoop, CharactersAndMouseMovesReachTheVisibleFormOnly) {
    auto* form = application.CreateForm<TForm>();
    form->Show();
    std::string typed;
    std::vector<std::pair<int, int>> moves;
    int keys = 0;
    form->OnKeyPress = [&](TObject*, char& key) { typed.push_back(key); };
    form->OnMouseMove = [&](TObject*, TShiftState, int x, int y) { moves.emplace_back(x, y); };
    form->OnKeyDown = [&](TObject*, WORD&, TShiftState) { ++keys; };

    headless::PushCharacter('+');
    headless::PushMouseMove(10, 20);
    headless::PushCharacter(27);
    application.ProcessMessages();
    EXPECT_EQ(typed, "+\x1b");
    EXPECT_EQ(moves, (std::vector<std::pair<int, int>>{{10, 20}}));

    form->Hide();
    headless::PushKeyDown(VK_ESCAPE);
    headless::PushMouseMove(30, 40);
    application.ProcessMessages();
    EXPECT_EQ(keys, 0);
    EXPECT_EQ(moves.size(), 1u);
}

TEST_F(MessageLoop, ExceptionsAreShownAndTheLoopGoesOn) {
    auto* form = application.CreateForm<TForm>();
    form->Show();
    form->OnKeyDown = [](TObject*, WORD&, TShiftState) { throw std::runtime_error("key failed"); };
    headless::PushKeyDown('Q');
    int idleCalls = 0;
    application.OnIdle = [&](TObject*, bool&) {
        if (++idleCalls == 1) {
            throw std::runtime_error("idle failed");
        }
        form->Close();
    };

    application.Run();

    EXPECT_EQ(idleCalls, 2);
    const auto boxes = platform::headless::ShownMessageBoxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].caption, "Loop test");
    EXPECT_EQ(boxes[0].text, "key failed");
    EXPECT_EQ(boxes[1].text, "idle failed");
}

TEST_F(MessageLoop, OnlyClosingTheMainFormEndsTheLoop) {
    auto* mainForm = application.CreateForm<TForm>();
    auto* second = application.CreateForm<TForm>();
    EXPECT_EQ(application.MainForm, mainForm);
    second->Show();
    application.Post([&] { second->Close(); });
    int idleCalls = 0;
    application.OnIdle = [&](TObject*, bool& done) {
        done = false;
        if (++idleCalls == 2) {
            mainForm->Close();
        }
    };

    application.Run();

    EXPECT_EQ(idleCalls, 2);
    EXPECT_FALSE(second->Visible());
}

struct ClosingForm : TForm {
    explicit ClosingForm(TComponent* owner) : TForm(owner) {
        RunCreateHandler([this] { Close(); });
    }
};

struct FailingForm : TForm {
    explicit FailingForm(TComponent* owner) : TForm(owner) {
        RunCreateHandler([] { throw std::runtime_error("Failed to get data for 'Gamma'"); });
    }
};

TEST_F(MessageLoop, MainFormClosedWhileBeingBuiltEndsTheProgram) {
    application.CreateForm<ClosingForm>();
    bool idleRan = false;
    application.OnIdle = [&](TObject*, bool&) {
        idleRan = true;
        application.Terminate();
    };
    application.Run();
    EXPECT_FALSE(idleRan);
}

TEST_F(MessageLoop, FailureWhileBuildingIsShownAndTheFormKept) {
    auto* form = application.CreateForm<FailingForm>();
    EXPECT_EQ(application.MainForm, form);
    const auto boxes = platform::headless::ShownMessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "Loop test");
    EXPECT_EQ(boxes[0].text, "Failed to get data for 'Gamma'");
}

TEST_F(MessageLoop, ApplicationsMadeLaterAreCurrentWhileTheyLive) {
    EXPECT_EQ(Application, &application);
    {
        TApplication inner;
        EXPECT_EQ(Application, &inner);
    }
    EXPECT_EQ(Application, &application);
}

// A loop whose idle work is done sleeps until work is posted from another
// thread, which wakes it.
TEST(MessageLoopThread, IdleDoneSleepsUntilWorkIsPosted) {
    headless::Install();
    TApplication application;
    auto* form = application.CreateForm<TForm>();
    std::atomic<int> idleCalls{0};
    int idleCallsWhenWoken = -1;
    std::thread poster;
    application.OnIdle = [&](TObject*, bool&) {
        if (++idleCalls == 1) {
            poster = std::thread([&] {
                application.Post([&] {
                    idleCallsWhenWoken = idleCalls;
                    form->Close();
                });
            });
        }
    };

    application.Run();
    poster.join();

    EXPECT_EQ(idleCallsWhenWoken, 1);
}

}  // namespace
