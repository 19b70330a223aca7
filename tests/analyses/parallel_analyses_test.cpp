// Both bootstrap analyses on several threads: the report, the progress
// counter and the random state after each analysis must be those of one
// thread, for every method and dispersion, with redrawn replicates and with
// a replicate that fails after all its redraws. The recycling matrix pool
// must not change a bit either.

#include "bootstrap_test_support.h"

#include "analyses/AvailableCores.h"
#include "matrix/MatrixOps.h"

#include <algorithm>
#include "support/test_random.h"

using namespace talver;

namespace {

// What a run of both analyses, one after the other, leaves behind.
struct ParallelRun {
    std::string discriminations;
    std::string indices;
    std::vector<double> percents;
    std::uint32_t stateAfterDiscriminations = 0;
    std::uint32_t stateAfterIndices = 0;
};

class ParallelAnalysesTest : public BootstrapAnalysisTest {
protected:
    ParallelRun RunBoth(const RunOptions& o, int threads, const Matrix* target = nullptr,
                        const Matrix* replication = nullptr)
    {
        ResetTestRandom();
        display_.calls.clear();
        display_.percents.clear();
        compute_.threads = threads;
        ParallelRun run;
        run.discriminations = Discriminations(o, target, replication);
        run.stateAfterDiscriminations = TestRandom().State();
        run.indices = Indices(o, target, replication);
        run.stateAfterIndices = TestRandom().State();
        run.percents = display_.percents;
        return run;
    }

    // Runs with 1, 2 and 4 threads and expects the same; returns the run of one.
    ParallelRun ExpectSameForEveryThreadCount(const RunOptions& o, const Matrix* target = nullptr,
                                              const Matrix* replication = nullptr)
    {
        const ParallelRun one = RunBoth(o, 1, target, replication);
        for (int threads : {2, 4}) {
            const ParallelRun many = RunBoth(o, threads, target, replication);
            EXPECT_EQ(many.discriminations, one.discriminations) << threads << " threads";
            EXPECT_EQ(many.indices, one.indices) << threads << " threads";
            EXPECT_EQ(many.percents, one.percents) << threads << " threads";
            EXPECT_EQ(many.stateAfterDiscriminations, one.stateAfterDiscriminations) << threads << " threads";
            EXPECT_EQ(many.stateAfterIndices, one.stateAfterIndices) << threads << " threads";
        }
        return one;
    }

    // The state after the discriminations if no sample were redrawn: the
    // observed Varimax starts, then one draw per row of every sample.
    static std::uint32_t StateWithoutRedraws(const RunOptions& o)
    {
        RandomSource source;
        source.JumpAhead(10u * (o.factors * o.factors + 1) +
                         static_cast<std::uint64_t>(o.samples) * (kTargetRows + kReplicationRows));
        return source.State();
    }
};

TEST_F(ParallelAnalysesTest, EveryMethodAndDispersion)
{
    for (int method : {1, 2, 3}) {
        for (int dispersion : {1, 2}) {
            RunOptions o;
            o.samples = 120;
            o.method = method;
            o.dispersion = dispersion;
            const ParallelRun one = ExpectSameForEveryThreadCount(o);
            EXPECT_NE(one.discriminations.find("ITEM DISCRIMINATIONS"), std::string::npos);
            EXPECT_NE(one.indices.find("CONGRUENCE INDICES"), std::string::npos);
            EXPECT_EQ(one.percents.size(), 240u);
        }
    }
}

TEST_F(ParallelAnalysesTest, OneAndThreeFactors)
{
    for (int factors : {1, 3}) {
        RunOptions o;
        o.samples = 100;
        o.factors = factors;
        ExpectSameForEveryThreadCount(o);
    }
}

TEST_F(ParallelAnalysesTest, PolychoricCorrelations)
{
    RunOptions o;
    o.samples = 60;
    o.dispersion = 3;
    o.itemLowest = Filled(kItems, 1, 1.0);
    o.itemHighest = Filled(kItems, 1, 5.0);
    const ParallelRun one = ExpectSameForEveryThreadCount(o);
    EXPECT_NE(one.discriminations.find("Item discriminations (Loading Matrix)"), std::string::npos);
}

TEST_F(ParallelAnalysesTest, MaximumLikelihoodWithRedrawnReplicates)
{
    for (int dispersion : {1, 2}) {
        RunOptions o;
        o.samples = 300;
        o.method = 3;
        o.factors = 4; // some replicates of four factors of eight items do not converge
        o.dispersion = dispersion;
        const ParallelRun one = ExpectSameForEveryThreadCount(o);
        // Replicates were redrawn, which moved every later one.
        EXPECT_NE(one.stateAfterDiscriminations, StateWithoutRedraws(o));
        EXPECT_EQ(one.discriminations.find("WARNING"), std::string::npos);
        EXPECT_EQ(one.indices.find("WARNING"), std::string::npos);
    }
}

TEST_F(ParallelAnalysesTest, ReplicateThatFailsAfterItsRedrawsLate)
{
    // Items 3 and 5 are constant but for one participant each, whom a
    // bootstrap sample misses about every third time: its item has no
    // variance (redrawn in the discriminations), and the population drawn
    // from it a singular matrix that ML cannot fit (redrawn in the indices).
    // Sooner or later six samples in a row miss one of them, which ends each
    // analysis.
    Matrix* target = CopyOf(target_);
    for (int n = 0; n < kTargetRows; ++n) {
        (*target)(n, 2) = n == 10 ? 4.0 : 3.0;
        (*target)(n, 4) = n == 20 ? 2.0 : 3.0;
    }
    RunOptions o;
    o.samples = 2000;
    o.method = 3;
    o.dispersion = 2;
    const ParallelRun one = ExpectSameForEveryThreadCount(o, target, replication_);
    EXPECT_NE(one.discriminations.find("WARNING: Bootstrap samples of the Target sample"), std::string::npos);
    EXPECT_NE(one.indices.find("WARNING: ML method could not converge"), std::string::npos);
    // Both analyses committed replicates before their failures: each
    // counter started at 0.
    EXPECT_EQ(std::count(one.percents.begin(), one.percents.end(), 0.0), 2);
    EXPECT_GT(one.percents.size(), 20u);
}

} // namespace
