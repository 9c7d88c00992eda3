#include "platform/linux/Signals.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <thread>

using namespace std::chrono_literals;

// Each case runs in a child process of its own: the signals are blocked for
// good once forwarded, and the grace ends the process.
class TerminationSignalsDeathTest : public ::testing::Test {
protected:
    void SetUp() override { GTEST_FLAG_SET(death_test_style, "threadsafe"); }
};

TEST_F(TerminationSignalsDeathTest, TheFirstOfSeveralSignalsIsForwardedOnce) {
    EXPECT_EXIT(
        {
            static std::atomic<int> calls{0};
            platform::ForwardTerminationSignals([] { ++calls; }, 10s);
            kill(getpid(), SIGTERM);
            kill(getpid(), SIGINT);
            kill(getpid(), SIGHUP);
            std::this_thread::sleep_for(300ms);
            std::_Exit(calls == 1 ? 7 : 8);
        },
        ::testing::ExitedWithCode(7), "");
}

TEST_F(TerminationSignalsDeathTest, AProcessThatDoesNotEndByItselfEndsAfterTheGrace) {
    EXPECT_EXIT(
        {
            platform::ForwardTerminationSignals([] {}, 100ms);
            kill(getpid(), SIGTERM);
            std::this_thread::sleep_for(20s);
            std::_Exit(3);
        },
        ::testing::ExitedWithCode(0), "");
}
