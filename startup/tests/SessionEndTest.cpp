// The session's end in the process: a signal reaches the close only through the event loop, and a second
// signal ends the process by that signal's own action.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <csignal>
#include <cstdlib>

#include "startup/SessionEnd.h"

namespace {

// Runs the event loop until the close has run, with a bound on the passes.
void pumpUntil(const int& closes) {
    for (int pass = 0; pass < 1000 && closes == 0; ++pass)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

} // namespace

TEST(SessionEnd, EachSessionSignalClosesOnceFromTheEventLoopAndTheProcessLivesOn) {
    for (const int signal : startup::SessionEnd::kSignals) {
        SCOPED_TRACE(signal);
        int closes = 0;
        startup::SessionEnd sessionEnd([&closes] { ++closes; });
        ASSERT_EQ(std::raise(signal), 0);
        // Never from the handler: the close runs Qt's code, which no handler may call.
        EXPECT_EQ(closes, 0);
        pumpUntil(closes);
        EXPECT_EQ(closes, 1);
        QCoreApplication::processEvents();
        EXPECT_EQ(closes, 1);
    }
}

TEST(SessionEndDeathTest, ASecondSignalDuringTheShutdownEndsTheProcessAtOnce) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    for (const int signal : startup::SessionEnd::kSignals) {
        SCOPED_TRACE(signal);
        EXPECT_EXIT(
            {
                int closes = 0;
                // The close stands for a shutdown that is still running when the next signal comes.
                startup::SessionEnd sessionEnd([&closes, signal] {
                    ++closes;
                    std::raise(signal);
                    std::_Exit(0);
                });
                std::raise(signal);
                pumpUntil(closes);
                std::_Exit(closes == 0 ? 2 : 3);
            },
            ::testing::KilledBySignal(signal), "");
    }
}
