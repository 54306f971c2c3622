// Stop signals as a clean end: at once for the export, through the event
// loop for the window.
#include "platform/SignalExit.h"

#include <QSignalSpy>
#include <csignal>
#include <cstdlib>
#include <gtest/gtest.h>
#include <memory>
#include <pthread.h>

namespace
{

class SignalExitTest : public testing::Test
{
protected:
    // The child of a death test starts afresh from main: no Qt state is shared.
    void SetUp() override { GTEST_FLAG_SET(death_test_style, "threadsafe"); }
};

TEST_F(SignalExitTest, ExitAtOnceEndsWithTheStatusShellsExpect)
{
    for (const int signalNumber : {SIGTERM, SIGINT, SIGHUP}) {
        EXPECT_EXIT(
            {
                SignalExit::ExitAtOnce();
                std::raise(signalNumber);
            },
            testing::ExitedWithCode(128 + signalNumber), "")
            << signalNumber;
    }
    // Started with the signal blocked, the process still hears it: one that
    // is already pending ends it as soon as the handling is set up.
    EXPECT_EXIT(
        {
            sigset_t blocked;
            sigemptyset(&blocked);
            sigaddset(&blocked, SIGTERM);
            pthread_sigmask(SIG_BLOCK, &blocked, nullptr);
            std::raise(SIGTERM);
            SignalExit::ExitAtOnce();
            std::_Exit(0);
        },
        testing::ExitedWithCode(128 + SIGTERM), "");
}

// The window hears of each signal on its event loop, in the order they came,
// and keeps running; once the object is gone a signal ends the process again.
TEST_F(SignalExitTest, SignalsArriveOnTheEventLoopWhileTheObjectLives)
{
    {
        SignalExit signalExit;
        QSignalSpy spy(&signalExit, &SignalExit::received);
        std::raise(SIGHUP);
        std::raise(SIGTERM);
        EXPECT_TRUE(spy.isEmpty()) << "nothing is delivered inside the handler";
        while (spy.size() < 2 && spy.wait(5000)) {
        }
        ASSERT_EQ(spy.size(), 2);
        EXPECT_EQ(spy[0][0].toInt(), SIGHUP);
        EXPECT_EQ(spy[1][0].toInt(), SIGTERM);
    }
    EXPECT_EXIT(
        {
            {
                SignalExit gone;
            }
            std::raise(SIGINT);
        },
        testing::KilledBySignal(SIGINT), "");
    // The actions it found come back: a program that set ExitAtOnce first
    // keeps its status after the object is gone.
    EXPECT_EXIT(
        {
            SignalExit::ExitAtOnce();
            {
                SignalExit gone;
            }
            std::raise(SIGINT);
        },
        testing::ExitedWithCode(128 + SIGINT), "");
}

} // namespace
