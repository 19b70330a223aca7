// Factors in one order: the canonical order of the observed pattern, the
// matching of replicate columns to it, and the proof that the matching
// leaves every per-item and overall index of a replicate as it was.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numeric>
#include <vector>

#include "analyses/CongruenceIndices.h"
#include "analyses/FactorMatching.h"
#include "analyses/IndicesReplicates.h"
#include "analyses/ObservedSolution.h"
#include "analyses/ResampledSolution.h"
#include "bootstrap_test_support.h"
#include "matrix/MatrixOps.h"
#include "tests/matrix/matrix_test_support.h"

using namespace talver;

namespace {

// Tucker's congruence of column a of x with column b of y.
double Congruence(const Matrix* x, int a, const Matrix* y, int b)
{
    double cross = 0.0, xx = 0.0, yy = 0.0;
    for (int i = 0; i < x->Rows(); ++i) {
        cross += (*x)(i, a) * (*y)(i, b);
        xx += (*x)(i, a) * (*x)(i, a);
        yy += (*y)(i, b) * (*y)(i, b);
    }
    return cross / std::sqrt(xx * yy);
}

// The best sum of |congruence| over every permutation, by brute force.
double BestMatchSum(const Matrix* pattern, const Matrix* reference)
{
    const int m = pattern->Cols();
    std::vector<int> order(m);
    std::iota(order.begin(), order.end(), 0);
    double best = 0.0;
    do {
        double sum = 0.0;
        for (int k = 0; k < m; ++k) {
            sum += std::fabs(Congruence(pattern, order[k], reference, k));
        }
        best = std::max(best, sum);
    } while (std::next_permutation(order.begin(), order.end()));
    return best;
}

// A p x m pattern of pseudo-random loadings with a clear structure.
Matrix* RandomPattern(int p, int m, RandomSource& random)
{
    Matrix* a = NewMatrix(p, m);
    for (int i = 0; i < p; ++i) {
        for (int c = 0; c < m; ++c) {
            (*a)(i, c) = (random.Next() % 1000) / 4000.0 - 0.125 + (i % m == c ? 0.6 + 0.01 * c : 0.0);
        }
    }
    return a;
}

using FactorMatching = MatrixTest;

TEST_F(FactorMatching, CanonicalOrderSortsBySumOfSquaresWithNonNegativeSums)
{
    // Column sums of squares 0.5, 1.31, 0.5 (a tie: the lower column
    // first), the middle column with a negative sum.
    const Matrix* pattern = FromRows({{0.5, -0.9, 0.0}, {0.5, -0.7, 0.0}, {0.0, 0.1, 0.5}, {0.0, 0.0, 0.5}});
    const Matrix* canonical = InCanonicalOrder(pattern);
    ExpectMatrix(canonical, 4, 3, {0.9, 0.5, 0.0, 0.7, 0.5, 0.0, -0.1, 0.0, 0.5, 0.0, 0.0, 0.5});
}

TEST_F(FactorMatching, RecoversAShuffledAndReflectedPattern)
{
    RandomSource random;
    for (int m : {2, 3, 5, 9, 10}) {
        const Matrix* reference = RandomPattern(3 * m, m, random);
        // Columns moved to a known place with known signs, plus noise.
        std::vector<int> place(m);
        std::iota(place.begin(), place.end(), 0);
        std::rotate(place.begin(), place.begin() + 1, place.end());
        std::swap(place[0], place[m - 1]);
        Matrix* shuffled = NewMatrix(3 * m, m);
        for (int k = 0; k < m; ++k) {
            for (int i = 0; i < 3 * m; ++i) {
                (*shuffled)(i, place[k]) = (k % 2 ? -1.0 : 1.0) * (*reference)(i, k) + 0.02 * ((i + k) % 3 - 1);
            }
        }
        const ColumnMatch match = MatchColumns(shuffled, reference);
        for (int k = 0; k < m; ++k) {
            EXPECT_EQ(match.source[k], place[k]) << "m = " << m << ", column " << k;
            EXPECT_EQ(match.sign[k], k % 2 ? -1.0 : 1.0) << "m = " << m << ", column " << k;
        }
        // Every matched congruence positive.
        const Matrix* matched = Matched(shuffled, match);
        for (int k = 0; k < m; ++k) {
            EXPECT_GT(Congruence(matched, k, reference, k), 0.0);
        }
    }
}

TEST_F(FactorMatching, AssignmentFindsTheBestSumAboveEightFactors)
{
    // Patterns without a clear match: the assignment algorithm used above
    // eight factors must reach the brute-force optimum.
    RandomSource random;
    for (int trial = 0; trial < 3; ++trial) {
        const int m = 9;
        Matrix* pattern = NewMatrix(12, m);
        Matrix* reference = NewMatrix(12, m);
        for (int i = 0; i < 12; ++i) {
            for (int c = 0; c < m; ++c) {
                (*pattern)(i, c) = (random.Next() % 2001) / 1000.0 - 1.0;
                (*reference)(i, c) = (random.Next() % 2001) / 1000.0 - 1.0;
            }
        }
        const ColumnMatch match = MatchColumns(pattern, reference);
        double sum = 0.0;
        std::vector<int> used = match.source;
        std::sort(used.begin(), used.end());
        for (int k = 0; k < m; ++k) {
            EXPECT_EQ(used[k], k);
            sum += std::fabs(Congruence(pattern, match.source[k], reference, k));
        }
        EXPECT_NEAR(sum, BestMatchSum(pattern, reference), 1e-12);
    }
}

bool SameBits(double a, double b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

class ReplicateMatching : public BootstrapAnalysisTest {};

TEST_F(ReplicateMatching, ItemAndOverallIndicesAreUnchangedBitForBit)
{
    // Replicates of the fixture samples, drawn by DrawIndices and again by
    // hand from the same random states without matching: the per-item and
    // overall values must be the same doubles, the per-factor ones the same
    // doubles in the matched order.
    const int m = 3;
    const SolutionSettings settings{m, ExtractionMethod::Uls, 0.0001, DispersionKind::Covariance, nullptr, nullptr};
    RandomSource random;
    const Matrix* observed = InCanonicalOrder(RandomPattern(kItems, m, random));
    const Matrix* target = target_;
    const Matrix* replication = replication_;
    int reordered = 0;
    for (int b = 0; b < 30; ++b) {
        MatrixScope scope;
        RandomSource byHand = random;
        const IndicesDraw draw = DrawIndices(target, replication, observed, settings, random);
        ASSERT_EQ(draw.failure.failure, DrawFailure::None);

        const ResampledSolution t = DrawSolution(target, settings, byHand);
        double criterion = 0.0;
        const Matrix* g = VarimaxPattern(t.loadings, settings.tolerance, criterion, byHand);
        const ResampledSolution r = DrawSolution(replication, settings, byHand);
        const Matrix* h = RotatedToward(r.loadings, g);
        EXPECT_EQ(byHand.State(), random.State());
        const std::vector<double> plain = IndexRow(InvarianceIndices(g, h));
        const ColumnMatch match = MatchColumns(g, observed);
        reordered += match.source != std::vector<int>{0, 1, 2};

        const int half = 1 + kItems + m;
        ASSERT_EQ(draw.row.size(), plain.size());
        for (int family = 0; family < 2; ++family) {
            const int base = family * half;
            for (int k = 0; k <= kItems; ++k) {
                EXPECT_TRUE(SameBits(draw.row[base + k], plain[base + k])) << "replicate " << b << ", value " << k;
            }
            for (int c = 0; c < m; ++c) {
                EXPECT_TRUE(SameBits(draw.row[base + 1 + kItems + c], plain[base + 1 + kItems + match.source[c]]));
            }
        }
    }
    // The test means something only if some replicates were reordered.
    EXPECT_GT(reordered, 0);
}

} // namespace
