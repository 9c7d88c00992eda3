#include "platform/linux/Signals.h"

#include <gtest/gtest.h>

#include <sys/prctl.h>
#include <sys/wait.h>
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

TEST_F(TerminationSignalsDeathTest, AForkedChildTakesTheSignalsAndEndsWithItsParent) {
    EXPECT_EXIT(
        {
            platform::ForwardTerminationSignals([] {}, 10s);
            const pid_t child = fork();
            if (child == 0) {
                sigset_t blocked;
                pthread_sigmask(SIG_BLOCK, nullptr, &blocked);
                int deathSignal = 0;
                prctl(PR_GET_PDEATHSIG, &deathSignal);
                std::_Exit(sigismember(&blocked, SIGTERM) == 0 && sigismember(&blocked, SIGHUP) == 0 &&
                                   deathSignal == SIGTERM
                               ? 5
                               : 6);
            }
            int status = 0;
            waitpid(child, &status, 0);
            std::_Exit(WIFEXITED(status) ? WEXITSTATUS(status) : 9);
        },
        ::testing::ExitedWithCode(5), "");
}
