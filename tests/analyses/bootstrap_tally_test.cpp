// What the bootstrap went through: redraws by reason and improper solutions.
// Every redraw of a sample costs one more draw per row of that sample, so the
// random state after an analysis is an independent reference for the counts.

#include "bootstrap_test_support.h"

#include "analyses/InvarianceIndices.h"
#include "analyses/ItemDiscriminations.h"
#include "analyses/ResampledSolution.h"
#include "matrix/MatrixOps.h"

#include "support/test_random.h"

using namespace talver;

namespace {

class BootstrapTallyTest : public BootstrapAnalysisTest {
protected:
    AnalysisSettings Settings(int samples, ExtractionMethod method, DispersionKind dispersion)
    {
        AnalysisSettings settings;
        settings.factorCount = 2;
        settings.bootstrapSamples = samples;
        settings.method = method;
        settings.dispersion = dispersion;
        return settings;
    }

    DiscriminationOutcome Run(const AnalysisSettings& settings, const Matrix* target, int threads)
    {
        ResetTestRandom();
        compute_.threads = threads;
        return ComputeItemDiscriminations(target, replication_, settings, compute_);
    }

    // The state after the discriminations: the observed Varimax starts, one
    // draw per row of every sample, and one per row of every redrawn sample.
    static std::uint32_t ExpectedState(const AnalysisSettings& s, const BootstrapTally& tally)
    {
        RandomSource source;
        const std::uint64_t m = static_cast<std::uint64_t>(s.factorCount);
        source.JumpAhead(10u * (m * m + 1) +
                         static_cast<std::uint64_t>(s.bootstrapSamples) * (kTargetRows + kReplicationRows) +
                         static_cast<std::uint64_t>(tally.target.redraws.Total()) * kTargetRows +
                         static_cast<std::uint64_t>(tally.replication.redraws.Total()) * kReplicationRows);
        return source.State();
    }

    static void ExpectSameTally(const BootstrapTally& a, const BootstrapTally& b)
    {
        for (auto [x, y] : {std::pair{&a.target, &b.target}, std::pair{&a.replication, &b.replication}}) {
            EXPECT_EQ(x->redraws.emptyCategory, y->redraws.emptyCategory);
            EXPECT_EQ(x->redraws.notConverged, y->redraws.notConverged);
            EXPECT_EQ(x->redraws.noVariance, y->redraws.noVariance);
            EXPECT_EQ(x->redraws.notFinite, y->redraws.notFinite);
            EXPECT_EQ(x->improperSolutions, y->improperSolutions);
        }
        EXPECT_EQ(a.replicates, b.replicates);
    }
};

TEST_F(BootstrapTallyTest, MaximumLikelihoodRedrawsAreCountedPerSample)
{
    // Four factors of eight items: some replicates do not converge.
    AnalysisSettings settings = Settings(300, ExtractionMethod::Ml, DispersionKind::Covariance);
    settings.factorCount = 4;
    const DiscriminationOutcome one = Run(settings, target_, 1);
    ASSERT_TRUE(one.results);
    const BootstrapTally& tally = one.bootstrap;
    EXPECT_TRUE(tally.ran);
    EXPECT_EQ(tally.replicates, 300);
    EXPECT_GT(tally.target.redraws.notConverged + tally.replication.redraws.notConverged, 0);
    EXPECT_EQ(tally.target.redraws.emptyCategory + tally.replication.redraws.emptyCategory, 0);
    EXPECT_EQ(TestRandom().State(), ExpectedState(settings, tally));
    EXPECT_LE(tally.target.improperSolutions, tally.replicates);
    EXPECT_LE(tally.replication.improperSolutions, tally.replicates);
    // Counted over the replicates in order, never over speculative ones.
    ExpectSameTally(Run(settings, target_, 2).bootstrap, tally);
}

TEST_F(BootstrapTallyTest, PolychoricSamplesThatLoseACategoryAreRedrawn)
{
    // Only two participants of the Target sample give item 1 its top score:
    // a bootstrap sample misses both about one time in seven, and the
    // polychoric matrix of that sample has an empty category.
    Matrix* target = CopyOf(target_);
    for (int n = 0; n < kTargetRows; ++n) {
        (*target)(n, 0) = n < 2 ? 5.0 : std::min((*target)(n, 0), 4.0);
    }
    AnalysisSettings settings = Settings(60, ExtractionMethod::Uls, DispersionKind::Polychoric);
    settings.itemLowest = Filled(kItems, 1, 1.0);
    settings.itemHighest = Filled(kItems, 1, 5.0);
    settings.categoryCount = 5;
    const DiscriminationOutcome one = Run(settings, target, 1);
    ASSERT_TRUE(one.results) << one.warning;
    const BootstrapTally& tally = one.bootstrap;
    // At least 60 x 0.133 / 0.867 = 9 Target redraws expected from item 1
    // alone; the Replication sample keeps its categories more often.
    EXPECT_GE(tally.target.redraws.emptyCategory, 3);
    EXPECT_LE(tally.target.redraws.emptyCategory, 60);
    EXPECT_LT(tally.replication.redraws.emptyCategory, tally.target.redraws.emptyCategory);
    EXPECT_EQ(tally.target.redraws.notConverged, 0);
    EXPECT_EQ(TestRandom().State(), ExpectedState(settings, tally));
    ExpectSameTally(Run(settings, target, 2).bootstrap, tally);
}

TEST_F(BootstrapTallyTest, RedrawsOfTheIndicesPopulations)
{
    // Item 3 is constant but for one participant: bootstrap samples of the
    // Target population drawn from it are often singular, which ML cannot fit.
    Matrix* target = CopyOf(target_);
    for (int n = 0; n < kTargetRows; ++n) {
        (*target)(n, 2) = n == 0 ? 4.0 : 3.0;
    }
    const AnalysisSettings settings = Settings(60, ExtractionMethod::Ml, DispersionKind::Covariance);
    BootstrapTally tallies[2];
    for (int threads : {1, 2}) {
        ResetTestRandom();
        compute_.threads = threads;
        const InvarianceOutcome outcome =
            ComputeInvarianceIndices(target, replication_, settings, true, true, compute_);
        tallies[threads - 1] = outcome.bootstrap;
        ASSERT_TRUE(outcome.bootstrap.ran) << outcome.warning;
    }
    EXPECT_GT(tallies[0].target.redraws.Total(), 0);
    EXPECT_EQ(tallies[0].replication.redraws.emptyCategory, 0);
    ExpectSameTally(tallies[1], tallies[0]);
}

TEST_F(BootstrapTallyTest, AnImproperSolutionIsOneWithAResidualVarianceAtOrBelowZero)
{
    // Item 2 repeats item 1, and three factors by ULS: many bootstrap
    // solutions hold a unique variance at 0 and are improper, as for the
    // observed solution's warning.
    Matrix* target = CopyOf(target_);
    for (int n = 0; n < kTargetRows; ++n) {
        (*target)(n, 1) = (*target)(n, 0);
    }
    SolutionSettings settings{3, ExtractionMethod::Uls, 0.0001, DispersionKind::Covariance, nullptr, nullptr};
    const Matrix* sample = target;
    int improper = 0;
    int counted = 0;
    for (int k = 0; k < 40; ++k) {
        MatrixScope scope;
        const ResampledSolution solution = DrawSolution(sample, settings, TestRandom());
        ASSERT_EQ(solution.failure, DrawFailure::None);
        bool below = false;
        for (int i = 0; i < kItems; ++i) {
            double communality = 0.0;
            for (int j = 0; j < settings.factors; ++j) {
                communality += (*solution.loadings)(i, j) * (*solution.loadings)(i, j);
            }
            const double variance = (*solution.dispersion)(i, i);
            below = below || variance - communality <= 1e-10 * variance;
        }
        improper += below ? 1 : 0;
        counted += solution.tally.improperSolutions;
    }
    EXPECT_GT(improper, 0);
    EXPECT_EQ(counted, improper);
}

} // namespace
