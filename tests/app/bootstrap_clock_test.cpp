// The elapsed time and the estimate of the time left shown beside the
// bootstrap counter, on a clock the test moves.

#include "app/BootstrapClock.h"

#include <gtest/gtest.h>

#include <limits>

using namespace talver;

namespace {

TEST(BootstrapClockTest, PhaseStartsWithTheLastStepAndEstimatesFromTheMeanReplicate)
{
    double now = 100.0;
    BootstrapClock clock([&now] { return now; });
    now = 130.0;
    clock.MarkStep();
    // Four replicates in 8 seconds: 2 seconds each, 96 to go.
    now = 138.0;
    EXPECT_EQ(clock.Note(3, 100), "0:08 elapsed, about 3:12 left");
    now = 330.0;
    EXPECT_EQ(clock.Note(99, 100), "3:20 elapsed, about 0:00 left");

    // The second analysis: its step, then a counter that starts again.
    now = 400.0;
    clock.MarkStep();
    now = 401.0;
    EXPECT_EQ(clock.Note(0, 100), "0:01 elapsed, about 1:39 left");
    // A counter towards another total is a new phase as well.
    now = 500.0;
    clock.MarkStep();
    now = 510.0;
    EXPECT_EQ(clock.Note(1, 5000), "0:10 elapsed, about 6:56:30 left");
}

TEST(BootstrapClockTest, DurationsRoundUpAndRefuseNonsense)
{
    EXPECT_EQ(DurationText(0.0), "0:00");
    EXPECT_EQ(DurationText(0.2), "0:01");
    EXPECT_EQ(DurationText(59.5), "1:00");
    EXPECT_EQ(DurationText(3599.0), "59:59");
    EXPECT_EQ(DurationText(3600.0), "1:00:00");
    EXPECT_EQ(DurationText(-5.0), "0:00");
    EXPECT_EQ(DurationText(std::numeric_limits<double>::quiet_NaN()), "0:00");
    EXPECT_EQ(DurationText(std::numeric_limits<double>::infinity()), "0:00");
}

} // namespace

namespace {

// A run with two phases: the estimate in the first counts the second at the
// first one's pace, and the elapsed time runs on over both.
TEST(BootstrapClockTest, WholeRunEstimateCountsThePhasesToCome)
{
    double now = 0.0;
    BootstrapClock clock([&now] { return now; });
    clock.StartRun(2);
    now = 10.0;
    clock.MarkStep();
    now = 20.0;
    // 10 replicates in 10 s: 90 more of this phase and 100 of the next.
    EXPECT_EQ(clock.Note(9, 100), "0:20 elapsed, about 3:10 left");
    now = 110.0;
    EXPECT_EQ(clock.Note(99, 100), "1:50 elapsed, about 1:40 left");
    now = 120.0;
    clock.MarkStep();
    now = 140.0;
    // The second phase at its own pace, 2 s a replicate, and none after it.
    EXPECT_EQ(clock.Note(9, 100), "2:20 elapsed, about 3:00 left");
    now = 320.0;
    EXPECT_EQ(clock.Note(99, 100), "5:20 elapsed, about 0:00 left");
}

} // namespace
