#include "link/AutoResetSignal.h"

#include <QElapsedTimer>
#include <QTimer>
#include <ctime>
#include <gtest/gtest.h>

TEST(AutoResetSignalTest, ZeroTimeWaitPicksFirstInListAndClearsOnlyIt) {
    AutoResetSignal first;
    AutoResetSignal second;
    second.set();
    first.set();
    EXPECT_EQ(waitForAny({&first, &second}, 0), 0);
    EXPECT_FALSE(first.isSet());
    EXPECT_TRUE(second.isSet());
    EXPECT_EQ(waitForAny({&first, &second}, 0), 1);
    EXPECT_EQ(waitForAny({&first, &second}, 0), WaitTimedOut);

    // The zero-time test consumes what it finds.
    first.set();
    first.set();
    EXPECT_TRUE(first.test());
    EXPECT_FALSE(first.test());
}

TEST(AutoResetSignalTest, WaitRunsTheMessageLoopUntilAHandlerSetsASignal) {
    AutoResetSignal never;
    AutoResetSignal later;
    QTimer::singleShot(30, [&] { later.set(); });
    EXPECT_EQ(waitForAny({&never, &later}, 10000), 1);
    EXPECT_FALSE(later.isSet());

    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(waitForAny({&never}, 250), WaitTimedOut);
    EXPECT_GE(clock.elapsed(), 250);
}

TEST(AutoResetSignalTest, WaitingSleepsInsteadOfSpinning) {
    AutoResetSignal never;
    const std::clock_t cpuBefore = std::clock();
    EXPECT_EQ(waitForAny({&never}, 1000), WaitTimedOut);
    const double cpuSeconds = double(std::clock() - cpuBefore) / CLOCKS_PER_SEC;
    // A spinning wait would burn about the whole second.
    EXPECT_LT(cpuSeconds, 0.2);
}
