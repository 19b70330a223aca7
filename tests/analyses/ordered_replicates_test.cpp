// The replicate scheduler on a replicate that only draws numbers: any thread
// count must commit the same rows in the same order on the calling thread,
// stop at the same failure and leave the random source in the same state,
// however often replicates draw more than the usual count.

#include "analyses/OrderedReplicates.h"
#include "matrix/Matrix.h"
#include "stats/RandomSource.h"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <thread>
#include "support/test_random.h"

using namespace talver;

namespace {

constexpr std::uint64_t kUsualDraws = 6;

// Draws six numbers; one replicate in four first draws up to eight more,
// as a redrawn sample would. Fails when its first draw is `failingDraw`;
// throws when it is `throwingDraw`.
ReplicateOutcome SyntheticReplicate(RandomSource& random, int failingDraw, int throwingDraw)
{
    MatrixScope scope;
    NewMatrix(3, 3); // every thread's pool takes part
    const int first = NextRandom(random);
    if (first == throwingDraw) {
        throw std::runtime_error("replicate failed to compute");
    }
    const int extra = first % 4 == 0 ? first % 9 : 0;
    std::vector<double> row{static_cast<double>(first)};
    for (int k = 0; k < extra + 5; ++k) {
        row.push_back(NextRandom(random));
    }
    if (first == failingDraw) {
        return {{DrawFailure::MaximumLikelihood, SampleSide::Replication}, {}, {}};
    }
    return {{}, row, {static_cast<double>(extra)}};
}

struct RunRecord {
    SampleFailure failure;
    std::vector<int> order;
    std::vector<std::vector<double>> rows;
    std::uint32_t stateAfter = 0;
    bool committedOnCaller = true;
    int drawsMade = 0;
};

RunRecord RunSynthetic(int threads, int count, int failingDraw = -1, int throwingDraw = -1)
{
    RandomSource source(12345u);
    RunRecord record;
    const std::thread::id caller = std::this_thread::get_id();
    std::atomic<int> drawsMade{0};
    const std::size_t live = LiveMatrixCount();
    record.failure = RunReplicatesInOrder(
        {count, FixedDraws(kUsualDraws), threads}, source,
        [&]() -> ReplicateDraw {
            ++drawsMade;
            return [failingDraw, throwingDraw](RandomSource& random) {
                return SyntheticReplicate(random, failingDraw, throwingDraw);
            };
        },
        [&](int t, const ReplicateOutcome& outcome) {
            record.order.push_back(t);
            std::vector<double> row = outcome.target;
            row.insert(row.end(), outcome.replication.begin(), outcome.replication.end());
            record.rows.push_back(row);
            record.committedOnCaller = record.committedOnCaller && std::this_thread::get_id() == caller;
        });
    EXPECT_EQ(LiveMatrixCount(), live);
    record.stateAfter = source.State();
    record.drawsMade = drawsMade;
    return record;
}

void ExpectSameRun(const RunRecord& expected, const RunRecord& actual, int threads)
{
    EXPECT_EQ(actual.failure.failure, expected.failure.failure) << threads << " threads";
    EXPECT_EQ(actual.failure.side, expected.failure.side) << threads << " threads";
    EXPECT_EQ(actual.order, expected.order) << threads << " threads";
    EXPECT_EQ(actual.rows, expected.rows) << threads << " threads";
    EXPECT_EQ(actual.stateAfter, expected.stateAfter) << threads << " threads";
    EXPECT_TRUE(actual.committedOnCaller) << threads << " threads";
    EXPECT_LE(actual.drawsMade, threads);
}

TEST(OrderedReplicates, EveryThreadCountCommitsTheSequentialRows)
{
    const RunRecord sequential = RunSynthetic(1, 2000);
    ASSERT_EQ(sequential.failure.failure, DrawFailure::None);
    ASSERT_EQ(sequential.order.size(), 2000u);
    for (int t = 0; t < 2000; ++t) {
        ASSERT_EQ(sequential.order[t], t);
    }
    int redrawn = 0;
    for (const std::vector<double>& row : sequential.rows) {
        redrawn += row.back() > 0.0;
    }
    ASSERT_GT(redrawn, 200); // the scenario moves later replicates often
    for (int threads : {2, 3, 8}) {
        ExpectSameRun(sequential, RunSynthetic(threads, 2000), threads);
    }
}

TEST(OrderedReplicates, FailureStopsAtTheSameReplicateAndState)
{
    // The first draw of sequential replicate 700 makes it fail.
    const int failingDraw = static_cast<int>(RunSynthetic(1, 701).rows[700][0]);
    const RunRecord sequential = RunSynthetic(1, 2000, failingDraw);
    ASSERT_EQ(sequential.failure.failure, DrawFailure::MaximumLikelihood);
    ASSERT_EQ(sequential.failure.side, SampleSide::Replication);
    ASSERT_EQ(sequential.order.size(), 700u);
    for (int threads : {2, 3, 8}) {
        ExpectSameRun(sequential, RunSynthetic(threads, 2000, failingDraw), threads);
    }
}

TEST(OrderedReplicates, AnExceptionOfAWorkerReachesTheCaller)
{
    const int throwingDraw = static_cast<int>(RunSynthetic(1, 301).rows[300][0]);
    for (int threads : {1, 2, 4}) {
        EXPECT_THROW(RunSynthetic(threads, 1000, -1, throwingDraw), std::runtime_error) << threads << " threads";
    }
}

TEST(OrderedReplicates, FewerReplicatesThanThreads)
{
    const RunRecord sequential = RunSynthetic(1, 3);
    ExpectSameRun(sequential, RunSynthetic(8, 3), 8);
    EXPECT_EQ(RunSynthetic(4, 0).order.size(), 0u);
}

// Draws one number, then 5 to 7 more as it says: a replicate whose draws
// depend on where it starts, as a resample of a large sample does.
int StartDependentDraws(RandomSource& random)
{
    const int first = NextRandom(random);
    const int more = 5 + first % 3;
    random.JumpAhead(static_cast<std::uint64_t>(more));
    return first;
}

TEST(OrderedReplicates, UsualDrawsFoundFromTheStartKeepEverySpeculation)
{
    const UsualDraws usual = [](RandomSource& random) -> std::uint64_t {
        return 6u + static_cast<std::uint64_t>(StartDependentDraws(random) % 3);
    };
    std::vector<double> sequential;
    for (int threads : {1, 2, 3, 8}) {
        RandomSource source(99u);
        std::atomic<int> computed{0};
        std::vector<double> firsts;
        RunReplicatesInOrder(
            {500, usual, threads}, source,
            [&]() -> ReplicateDraw {
                return [&computed](RandomSource& random) {
                    ++computed;
                    return ReplicateOutcome{{}, {static_cast<double>(StartDependentDraws(random))}, {}};
                };
            },
            [&](int, const ReplicateOutcome& outcome) { firsts.push_back(outcome.target[0]); });
        if (threads == 1) {
            sequential = firsts;
        }
        EXPECT_EQ(firsts, sequential) << threads << " threads";
        // No replicate was computed from a position that turned out wrong.
        EXPECT_EQ(computed.load(), 500) << threads << " threads";
    }
}

TEST(DrawsBetween, CountsTheDrawsFromOneStateToAnother)
{
    const RandomSource from(777u);
    for (std::uint64_t draws : {0u, 1u, 6u, 1042u, 7000u}) {
        RandomSource to = from;
        for (std::uint64_t k = 0; k < draws; ++k) {
            to.Next();
        }
        EXPECT_EQ(DrawsBetween(from, to.State(), 1042u), draws);
        EXPECT_EQ(DrawsBetween(from, to.State(), draws), draws);
    }
}

} // namespace
