#include "stats/Bootstrap.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "matrix/Matrix.h"
#include "matrix/MatrixOps.h"
#include "stats/RandomSource.h"
#include "support/test_random.h"

using namespace talver;

namespace {

// A source positioned so that its next draw is `value`, found by walking the
// sequence from its start.
RandomSource SourceWhoseNextDrawIs(int value)
{
    RandomSource source;
    for (;;) {
        const RandomSource before = source;
        if (source.Next() == value) {
            return before;
        }
    }
}

// Row i holds i * 10 + j in column j, so a copied row tells where it came from.
Matrix* NumberedRows(int rows, int cols)
{
    Matrix* m = NewMatrix(rows, cols);
    for (int i = 0; i < rows; ++i) {
        for (int j = 0; j < cols; ++j) {
            (*m)(i, j) = i * 10 + j;
        }
    }
    return m;
}

// The row that a first draw of `value` picks from n rows.
int RowPickedBy(int value, int n)
{
    MatrixScope scope;
    const Matrix* source = NumberedRows(n, 1);
    Matrix* destination = NewMatrix(n, 1);
    RandomSource random = SourceWhoseNextDrawIs(value);
    ResampleRows(source, destination, random);
    return static_cast<int>((*destination)(0, 0)) / 10;
}

double ReferenceCdf(double x)
{
    return 0.5 * std::erfc(-x / std::sqrt(2.0));
}

TEST(ResampleRows, ExtremeDrawsPickFirstAndLastRows)
{
    EXPECT_EQ(RowPickedBy(0, 7), 0);
    EXPECT_EQ(RowPickedBy(32767, 7), 6);
    EXPECT_EQ(RowPickedBy(32766, 7), 6);
    EXPECT_EQ(RowPickedBy(32767, 1), 0);
}

TEST(ResampleRows, FollowsTheDoublePrecisionRule)
{
    // Exactly 17969 * 93 / 32767 = 51, but the double rule gives row 50.
    EXPECT_EQ(RowPickedBy(17969, 93), 50);
    EXPECT_EQ(RowPickedBy(3255, 151), 14);
    EXPECT_EQ(RowPickedBy(16384, 2), 1);
    EXPECT_EQ(RowPickedBy(16383, 2), 0);
}

TEST(ResampleRows, CopiesWholeRowsWithOneDrawEach)
{
    MatrixScope scope;
    const int n = 40;
    const Matrix* source = NumberedRows(n, 3);
    Matrix* destination = NewMatrix(n, 5);
    (*destination)(0, 4) = -1.0;
    RandomSource random(2024u);
    ResampleRows(source, destination, random);

    RandomSource expected(2024u);
    for (int i = 0; i < n; ++i) {
        const long long exactRow = static_cast<long long>(expected.Next()) * n / 32767;
        const int row = static_cast<int>(std::min<long long>(exactRow, n - 1));
        for (int j = 0; j < 3; ++j) {
            EXPECT_EQ((*destination)(i, j), row * 10 + j) << "row " << i;
        }
    }
    // Columns beyond the source's are left alone.
    EXPECT_EQ((*destination)(0, 4), -1.0);
    EXPECT_EQ(random.State(), expected.State());
}

TEST(ResampleRows, SingleRowSampleAlwaysCopiesItsRow)
{
    MatrixScope scope;
    const Matrix* source = NumberedRows(1, 2);
    Matrix* destination = NewMatrix(1, 2);
    RandomSource random;
    for (int draw = 0; draw < 50; ++draw) {
        ResampleRows(source, destination, random);
        EXPECT_EQ((*destination)(0, 0), 0.0);
        EXPECT_EQ((*destination)(0, 1), 1.0);
    }
}

// How many draws lead from `from` to state `to`.
std::uint64_t DrawsBetween(RandomSource from, std::uint32_t to)
{
    std::uint64_t draws = 0;
    for (; from.State() != to; ++draws) {
        from.Next();
    }
    return draws;
}

// Largest chance of one row under the 15-bit rule, relative to 1/n, from
// exact integer arithmetic.
double LargestScaledDeviation(int n)
{
    std::vector<int> hits(static_cast<std::size_t>(n), 0);
    for (long long r = 0; r <= 32767; ++r) {
        ++hits[static_cast<std::size_t>(std::min<long long>(r * n / 32767, n - 1))];
    }
    double deviation = 0.0;
    for (int h : hits) {
        deviation = std::max(deviation, std::fabs(h * static_cast<double>(n) / 32768.0 - 1.0));
    }
    return deviation;
}

TEST(ResampleRows, FifteenBitRuleOnlyWhileEveryRowsChanceIsWithinFivePercent)
{
    EXPECT_LE(LargestScaledDeviation(kLargestScaledSample), 0.05);
    EXPECT_GT(LargestScaledDeviation(kLargestScaledSample + 1), 0.05);
    // One draw per row up to the bound, two or more per row above it.
    for (int n : {kLargestScaledSample, kLargestScaledSample + 1}) {
        MatrixScope scope;
        const Matrix* source = NumberedRows(n, 1);
        Matrix* destination = NewMatrix(n, 1);
        RandomSource random(31u);
        ResampleRows(source, destination, random);
        RandomSource start(31u);
        const std::uint64_t draws = DrawsBetween(start, random.State());
        if (n <= kLargestScaledSample) {
            EXPECT_EQ(draws, static_cast<std::uint64_t>(n));
        } else {
            EXPECT_GE(draws, 2u * n);
        }
    }
}

TEST(ResampleRows, LargeSamplesDrawEveryRowUniformly)
{
    for (const auto& [n, perRow] : {std::pair{1000, 200}, std::pair{20000, 40}, std::pair{100000, 20}}) {
        MatrixScope scope;
        const Matrix* source = NumberedRows(n, 1);
        Matrix* destination = NewMatrix(n, 1);
        std::vector<int> hits(static_cast<std::size_t>(n), 0);
        RandomSource random;
        for (int round = 0; round < perRow; ++round) {
            ResampleRows(source, destination, random);
            for (int i = 0; i < n; ++i) {
                ++hits[static_cast<std::size_t>((*destination)(i, 0)) / 10];
            }
        }
        double chiSquare = 0.0;
        for (int h : hits) {
            chiSquare += (h - perRow) * static_cast<double>(h - perRow) / perRow;
        }
        EXPECT_EQ(*std::min_element(hits.begin(), hits.end()) > 0, true) << n << " rows: a row never drawn";
        // Chi-square with n - 1 degrees of freedom, beyond 5 standard deviations
        // of its normal approximation (a chance below one in a million).
        const double freedom = n - 1.0;
        EXPECT_LT(chiSquare, freedom + 5.0 * std::sqrt(2.0 * freedom)) << n << " rows";
    }
}

TEST(SkipResampleDraws, MovesTheSourceAsResamplingDoes)
{
    for (int n : {1, 37, kLargestScaledSample, kLargestScaledSample + 1, 33000, 100000}) {
        MatrixScope scope;
        const Matrix* source = NumberedRows(n, 1);
        Matrix* destination = NewMatrix(n, 1);
        RandomSource resampled(4711u);
        RandomSource skipped(4711u);
        ResampleRows(source, destination, resampled);
        const std::uint64_t draws = SkipResampleDraws(skipped, n);
        EXPECT_EQ(skipped.State(), resampled.State()) << n << " rows";
        EXPECT_EQ(draws, DrawsBetween(RandomSource(4711u), skipped.State())) << n << " rows";
    }
}

// The counts are the sample that ResampleRows copies, drawn alike, and the
// moments from them are those of the copy (to rounding: the products are
// summed once per drawn row and weighted).
TEST(ResampleCounts, CountTheRowsResamplingCopiesAndGiveItsMoments)
{
    for (int n : {1, 37, kLargestScaledSample, kLargestScaledSample + 1, 5000}) {
        MatrixScope scope;
        Matrix* source = NumberedRows(n, 1);
        Matrix* destination = NewMatrix(n, 1);
        RandomSource copied(99u + n);
        RandomSource counted(99u + n);
        ResampleRows(source, destination, copied);
        std::vector<int> counts;
        ResampleCounts(n, counts, counted);
        EXPECT_EQ(counted.State(), copied.State()) << n << " rows";
        std::vector<int> hits(static_cast<std::size_t>(n), 0);
        for (int i = 0; i < n; ++i) {
            ++hits[static_cast<std::size_t>((*destination)(i, 0)) / 10];
        }
        EXPECT_EQ(counts, hits) << n << " rows";

        // Skewed items of unequal scales, one nearly a copy of another.
        Matrix* items = NewMatrix(n, 4);
        for (int i = 0; i < n; ++i) {
            const double u = std::sin(i * 12.9898) * 43758.5453;
            const double v = u - std::floor(u);
            (*items)(i, 0) = std::floor(5.0 * v * v) + 1.0;
            (*items)(i, 1) = (*items)(i, 0) + (i % 7 == 0 ? 1.0 : 0.0);
            (*items)(i, 2) = 1e4 * std::exp(3.0 * v);
            (*items)(i, 3) = 1e-3 * (i % 3);
        }
        Matrix* sample = NewMatrix(n, 4);
        RandomSource again(99u + n);
        ResampleRows(items, sample, again);
        const Matrix* expected[] = {CovarianceMatrix(sample), CorrelationMatrix(sample)};
        const Matrix* weighted[] = {WeightedCovarianceMatrix(items, counts), WeightedCorrelationMatrix(items, counts)};
        for (int kind = 0; kind < 2; ++kind) {
            for (int i = 0; i < 4; ++i) {
                for (int j = 0; j < 4; ++j) {
                    const double e = (*expected[kind])(i, j);
                    const double w = (*weighted[kind])(i, j);
                    if (std::isnan(e)) {
                        EXPECT_TRUE(std::isnan(w)) << n << " rows, " << i << ", " << j;
                        continue;
                    }
                    const double size = std::sqrt(std::fabs((*expected[kind])(i, i) * (*expected[kind])(j, j)));
                    EXPECT_NEAR(w, e, 1e-12 * size + 1e-300) << n << " rows, " << i << ", " << j;
                    EXPECT_EQ(w, (*weighted[kind])(j, i));
                }
            }
        }
    }
}

TEST(ResampleRows, DestinationOfAnotherRowCountIsAProgrammingError)
{
    MatrixScope scope;
    const Matrix* source = NumberedRows(4, 2);
    Matrix* shortDestination = NewMatrix(3, 2);
    Matrix* narrowDestination = NewMatrix(4, 1);
    EXPECT_THROW(ResampleRows(source, shortDestination, TestRandom()), MatrixEngineError);
    EXPECT_THROW(ResampleRows(source, narrowDestination, TestRandom()), MatrixEngineError);
}

TEST(SortColumns, AgreesWithStdSortOnColumnsWithTies)
{
    RandomSource random(31337u);
    for (int rows : {1, 2, 3, 5, 16, 17, 100, 999, 5000}) {
        MatrixScope scope;
        const int cols = 4;
        Matrix* m = NewMatrix(rows, cols);
        for (int i = 0; i < rows; ++i) {
            (*m)(i, 0) = random.Next() % 7;            // many ties
            (*m)(i, 1) = random.Next() / 32767.0 - 0.5; // few ties
            (*m)(i, 2) = rows - i;                     // descending
            (*m)(i, 3) = 2.5;                          // all equal
        }
        std::vector<double> before(m->Row(0), m->Row(0) + m->Size());
        const Matrix* sorted = SortColumns(m);
        ASSERT_EQ(sorted->Rows(), rows);
        ASSERT_EQ(sorted->Cols(), cols);
        for (int j = 0; j < cols; ++j) {
            std::vector<double> expected(rows);
            for (int i = 0; i < rows; ++i) {
                expected[i] = (*m)(i, j);
            }
            std::sort(expected.begin(), expected.end());
            for (int i = 0; i < rows; ++i) {
                ASSERT_EQ((*sorted)(i, j), expected[i]) << rows << " rows, column " << j << ", row " << i;
            }
        }
        EXPECT_TRUE(std::equal(before.begin(), before.end(), m->Row(0)));
    }
}

TEST(SortColumns, EmptyMatrixGivesAnEmptyMatrix)
{
    MatrixScope scope;
    const Matrix* sorted = SortColumns(NewMatrix(0, 3));
    EXPECT_EQ(sorted->Rows(), 0);
    EXPECT_EQ(sorted->Cols(), 3);
}

TEST(PercentilePosition, NeverReachesTheLargestReplicate)
{
    for (int b = 2; b <= 5000; ++b) {
        ASSERT_EQ(PercentilePosition(b, 0.99999), b - 2) << "B = " << b;
        ASSERT_EQ(PercentilePosition(b, 0.00001), 0) << "B = " << b;
    }
    EXPECT_EQ(PercentilePosition(1, 0.99999), 0);
    EXPECT_EQ(PercentilePosition(1000, 0.5), 499);
}

TEST(CriticalZ, ByAlpha)
{
    EXPECT_EQ(CriticalZ(AlphaLevel::Five), 1.96);
    EXPECT_EQ(CriticalZ(AlphaLevel::Ten), 1.645);
}

class BcPercentileIntervalTest : public testing::Test {
protected:
    // Column 1 holds 0, 1, ..., B - 1, so a bound is its own position;
    // column 0 holds values that must never be read.
    Matrix* Positions(int b)
    {
        Matrix* m = NewMatrix(b, 2);
        for (int i = 0; i < b; ++i) {
            (*m)(i, 0) = -1.0;
            (*m)(i, 1) = i;
        }
        return m;
    }

    MatrixScope scope_;
};

TEST_F(BcPercentileIntervalTest, NoReplicateOrEveryReplicateBelowGivesThePlainInterval)
{
    const Matrix* s = Positions(1000);
    // 999 x Phi(-/+1.96) = 24.97 and 974.03.
    const std::pair<double, double> plain{24.0, 974.0};
    // The value equal to the observed one does not count as below.
    EXPECT_EQ(BcPercentileInterval(s, 1, 0.0, 1.96), plain);
    EXPECT_EQ(BcPercentileInterval(s, 1, -5.0, 1.96), plain);
    EXPECT_EQ(BcPercentileInterval(s, 1, 1000.0, 1.96), plain);
    // 999 x Phi(-/+1.645) = 49.96 and 949.04.
    EXPECT_EQ(BcPercentileInterval(s, 1, 1000.0, 1.645), (std::pair<double, double>{49.0, 949.0}));
}

TEST_F(BcPercentileIntervalTest, SingleReplicateIsItsOwnInterval)
{
    Matrix* s = NewMatrix(1, 1);
    (*s)(0, 0) = 3.25;
    for (double observed : {-1.0, 3.25, 8.0}) {
        EXPECT_EQ(BcPercentileInterval(s, 0, observed, 1.96), (std::pair<double, double>{3.25, 3.25}));
    }
}

TEST_F(BcPercentileIntervalTest, ShiftsTheIntervalByTheBias)
{
    const int b = 1000;
    const Matrix* s = Positions(b);
    for (int below : {220, 360, 450, 540, 640, 750}) {
        // Observed value just above `below` replicates.
        const double observed = below - 0.5;
        const double p0 = static_cast<double>(below) / b;
        // z0 from the reference distribution function by bisection.
        double lo = -8.0;
        double hi = 8.0;
        for (int step = 0; step < 200; ++step) {
            const double mid = (lo + hi) / 2.0;
            (ReferenceCdf(mid) < p0 ? lo : hi) = mid;
        }
        const double z0 = lo;
        const double lower = (b - 1) * ReferenceCdf(2.0 * z0 - 1.96);
        const double upper = (b - 1) * ReferenceCdf(2.0 * z0 + 1.96);
        // Only cases whose positions are clear of the approximation errors.
        ASSERT_GT(lower - std::floor(lower), 0.1);
        ASSERT_LT(lower - std::floor(lower), 0.9);
        ASSERT_GT(upper - std::floor(upper), 0.1);
        ASSERT_LT(upper - std::floor(upper), 0.9);
        EXPECT_EQ(BcPercentileInterval(s, 1, observed, 1.96),
                  (std::pair<double, double>{std::floor(lower), std::floor(upper)}))
            << below << " below";
    }
    // A large bias pushes the upper probability onto the clamp 0.99999,
    // whose position is one short of the largest replicate.
    EXPECT_EQ(BcPercentileInterval(s, 1, 972.5, 1.96).second, b - 2.0);
}

} // namespace
