#include "watcher/IdleWatcher.h"

#include <gtest/gtest.h>

namespace {

// Counts what the watcher asks of the saver; the test tells it the saver
// ended, as the session would.
class RecordingSaver : public platform::session::SaverProcess {
public:
    void Start() override { ++starts; }
    void Stop() override { ++stops; }
    int starts = 0;
    int stops = 0;
};

class IdleWatcherTest : public testing::Test {
protected:
    RecordingSaver saver;
    IdleWatcher watcher{saver};
};

TEST_F(IdleWatcherTest, StartsOncePerIdleSpell) {
    watcher.Idle();
    watcher.Idle();  // the source may tell a spell twice as it starts
    EXPECT_EQ(saver.starts, 1);
    watcher.Active();
    watcher.SaverEnded();
    watcher.Idle();
    EXPECT_EQ(saver.starts, 2);
}

TEST_F(IdleWatcherTest, ASpellThatBeginsWhileTheSaverClosesStartsItOnceItHasEnded) {
    watcher.Idle();
    watcher.Active();  // the key that ends the saver
    watcher.Idle();
    EXPECT_EQ(saver.starts, 1);
    watcher.SaverEnded();
    EXPECT_EQ(saver.starts, 2);
}

TEST_F(IdleWatcherTest, ASaverEndingWithoutInputWaitsForTheNextSpell) {
    watcher.Idle();
    watcher.SaverEnded();  // it failed; input still rests
    watcher.Inhibited(false);
    EXPECT_EQ(saver.starts, 1);
    watcher.Active();
    watcher.Idle();
    EXPECT_EQ(saver.starts, 2);
}

TEST_F(IdleWatcherTest, AHoldKeepsTheSaverOffUntilReleasedInTheSameSpell) {
    watcher.Inhibited(true);
    watcher.Idle();
    EXPECT_EQ(saver.starts, 0);
    watcher.Inhibited(false);
    EXPECT_EQ(saver.starts, 1);
}

TEST_F(IdleWatcherTest, ALockEndsTheSaverAndStartsNoneUntilInputAfterTheUnlock) {
    watcher.Idle();
    watcher.Locked(true);
    EXPECT_EQ(saver.stops, 1);
    watcher.SaverEnded();
    watcher.Active();  // input on the lock screen
    watcher.Idle();
    EXPECT_EQ(saver.starts, 1);
    watcher.Locked(false);
    EXPECT_EQ(saver.starts, 1);
    watcher.Active();
    watcher.Idle();
    EXPECT_EQ(saver.starts, 2);
}

TEST_F(IdleWatcherTest, ASessionLockedAtStartStartsNothing) {
    watcher.Locked(true);
    watcher.Idle();
    EXPECT_EQ(saver.starts, 0);
    EXPECT_EQ(saver.stops, 0);
}

}  // namespace
