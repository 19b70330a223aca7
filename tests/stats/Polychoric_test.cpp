#include "stats/Polychoric.h"

#include <cmath>
#include <initializer_list>
#include <limits>
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "PolychoricReference.h"
#include "matrix/MatrixOps.h"
#include "stats/Bootstrap.h"
#include "stats/ContingencyTable.h"
#include "stats/ExactNormal.h"
#include "stats/PolychoricPair.h"
#include "stats/RandomSource.h"
#include "matrix/matrix_test_support.h"

using namespace talver;

namespace {

class PolychoricMatrixTest : public ::testing::Test {
protected:
    void SetUp() override { OpenScope(); }
    void TearDown() override { CloseScope(); }
};

Matrix* Column(int rows, double value)
{
    return Filled(rows, 1, value);
}


void ExpectBlock(const Matrix* tables, int block, std::vector<std::vector<double>> expected)
{
    const int size = tables->Cols();
    for (int r = 0; r < size; ++r) {
        for (int c = 0; c < size; ++c) {
            EXPECT_EQ((*tables)(block * size + r, c), expected[r][c]) << "block " << block << " " << r << "," << c;
        }
    }
}

// Two items scored 0/1 with a = both 0, b = item 0 low and item 1 high,
// c = item 0 high and item 1 low, d = both 1.
Matrix* TwoByTwoData(int a, int b, int c, int d)
{
    Matrix* data = NewMatrix(a + b + c + d, 2);
    int n = 0;
    const auto add = [&](int count, double first, double second) {
        for (int k = 0; k < count; ++k, ++n) {
            (*data)(n, 0) = first;
            (*data)(n, 1) = second;
        }
    };
    add(a, 0, 0);
    add(b, 0, 1);
    add(c, 1, 0);
    add(d, 1, 1);
    return data;
}

double TwoByTwoCorrelation(int a, int b, int c, int d)
{
    const Matrix* r = PolychoricMatrix(TwoByTwoData(a, b, c, d), Column(2, 0), Column(2, 1));
    return r == nullptr ? std::nan("") : (*r)(0, 1);
}

// N x p scores 1..categories from latent normals with a common factor.
Matrix* RandomData(std::mt19937& random, int n, int p, int categories)
{
    std::normal_distribution<double> normal;
    std::uniform_real_distribution<double> loading(-0.95, 0.95);
    std::vector<double> loadings(p);
    for (double& l : loadings) {
        l = loading(random);
    }
    Matrix* data = NewMatrix(n, p);
    for (int row = 0; row < n; ++row) {
        const double factor = normal(random);
        for (int i = 0; i < p; ++i) {
            const double latent = loadings[i] * factor + std::sqrt(1.0 - loadings[i] * loadings[i]) * normal(random);
            const double score = std::floor(latent * categories / 3.0 + categories / 2.0);
            (*data)(row, i) = 1.0 + std::fmin(std::fmax(score, 0.0), categories - 1.0);
        }
    }
    return data;
}

TEST_F(PolychoricMatrixTest, TwoCategoryPairsGetTheTetrachoricCorrelation)
{
    EXPECT_NEAR(TwoByTwoCorrelation(40, 10, 10, 40), 0.809017, 0.0000005);
    EXPECT_NEAR(TwoByTwoCorrelation(10, 40, 40, 10), -0.809017, 0.0000005);
    EXPECT_NEAR(TwoByTwoCorrelation(20, 10, 20, 10), 0.0, 1e-12);
    EXPECT_EQ(TwoByTwoCorrelation(0, 12, 7, 0), -kLargestPolychoricCorrelation);
    EXPECT_EQ(TwoByTwoCorrelation(9, 0, 0, 14), kLargestPolychoricCorrelation);
    // Zeros on both diagonals leave a category of an item empty.
    EXPECT_EQ(PolychoricMatrix(TwoByTwoData(0, 0, 7, 14), Column(2, 0), Column(2, 1)), nullptr);
}

TEST_F(PolychoricMatrixTest, IdenticalItemsReachTheLargestCorrelation)
{
    std::mt19937 random(4);
    Matrix* data = RandomData(random, 120, 2, 4);
    for (int n = 0; n < 120; ++n) {
        (*data)(n, 1) = (*data)(n, 0);
    }
    const Matrix* r = PolychoricMatrix(data, Column(2, 1), Column(2, 4));
    ASSERT_NE(r, nullptr);
    EXPECT_EQ((*r)(0, 1), kLargestPolychoricCorrelation);
}

TEST_F(PolychoricMatrixTest, UnusedOrMissingCategoriesGiveNull)
{
    std::mt19937 random(5);
    Matrix* data = RandomData(random, 200, 3, 5);
    const Matrix* lowest = Column(3, 1);
    const Matrix* highest = Column(3, 5);
    ASSERT_NE(PolychoricMatrix(data, lowest, highest), nullptr);

    // A middle score that nobody has.
    Matrix* gap = Plus(data, Zeros(200, 3));
    for (int n = 0; n < 200; ++n) {
        if ((*gap)(n, 1) == 3.0) {
            (*gap)(n, 1) = 2.0;
        }
    }
    EXPECT_EQ(PolychoricMatrix(gap, lowest, highest), nullptr);

    // The highest score unused: fewer categories than declared.
    Matrix* narrow = Plus(data, Zeros(200, 3));
    for (int n = 0; n < 200; ++n) {
        (*narrow)(n, 2) = std::fmin((*narrow)(n, 2), 4.0);
    }
    EXPECT_EQ(PolychoricMatrix(narrow, lowest, highest), nullptr);
}

TEST_F(PolychoricMatrixTest, ScoresOutsideTheDeclaredRangeGiveNull)
{
    std::mt19937 random(6);
    Matrix* data = RandomData(random, 150, 3, 4);
    const Matrix* lowest = Column(3, 1);
    const Matrix* highest = Column(3, 4);
    ASSERT_NE(PolychoricMatrix(data, lowest, highest), nullptr);

    for (double odd : {0.0, 5.0, 4.5, -1.0, std::numeric_limits<double>::quiet_NaN()}) {
        (*data)(17, 1) = odd;
        const bool truncatesIntoRange = odd == 4.5;
        EXPECT_EQ(PolychoricMatrix(data, lowest, highest) != nullptr, truncatesIntoRange) << "score " << odd;
    }
    // A two-category pair likewise.
    Matrix* twoByTwo = TwoByTwoData(30, 20, 15, 35);
    (*twoByTwo)(0, 0) = 2.0;
    EXPECT_EQ(PolychoricMatrix(twoByTwo, Column(2, 0), Column(2, 1)), nullptr);
}

TEST_F(PolychoricMatrixTest, SingleItemIsTheIdentity)
{
    Matrix* data = FromRows({{1}, {3}, {2}});
    Matrix* thresholds = NewMatrix(1, 2);
    Matrix* tables = NewMatrix(0, 3);
    const Matrix* r = PolychoricMatrixWithDetails(data, Column(1, 1), Column(1, 3), thresholds, tables);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ((*r)(0, 0), 1.0);
    EXPECT_EQ(MaxElement(thresholds), 0.0);
    EXPECT_EQ(MinElement(thresholds), 0.0);
}

TEST_F(PolychoricMatrixTest, DetailsHoldThresholdsAndTablesInPairOrder)
{
    // Item 0 scored 1..3, item 1 scored 0..1, item 2 scored 2..5.
    Matrix* data = FromRows({{1, 0, 2}, {2, 1, 3}, {3, 1, 4}, {2, 0, 5}, {1, 1, 5},
                             {3, 0, 2}, {2, 1, 4}, {3, 1, 3}, {1, 0, 4}, {2, 1, 5}});
    const Matrix* lowest = FromRows({{1}, {0}, {2}});
    const Matrix* highest = FromRows({{3}, {1}, {5}});
    Matrix* thresholds = NewMatrix(3, 3);
    Matrix* tables = NewMatrix(12, 4);
    const Matrix* r = PolychoricMatrixWithDetails(data, lowest, highest, thresholds, tables);
    ASSERT_NE(r, nullptr);
    const Matrix* plain = PolychoricMatrix(data, lowest, highest);
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) {
            EXPECT_EQ((*r)(i, j), (*plain)(i, j));
            EXPECT_EQ((*r)(i, j), (*r)(j, i));
        }
        EXPECT_EQ((*r)(i, i), 1.0);
    }

    // Block t, row = item i ascending, column = item j ascending.
    ExpectBlock(tables, 0, {{2, 1, 0, 0}, {1, 3, 0, 0}, {1, 2, 0, 0}, {0, 0, 0, 0}}); // pair (0, 1)
    ExpectBlock(tables, 1, {{1, 0, 1, 1}, {0, 1, 1, 2}, {1, 1, 1, 0}, {0, 0, 0, 0}}); // pair (0, 2)
    ExpectBlock(tables, 2, {{2, 0, 1, 1}, {0, 2, 2, 2}, {0, 0, 0, 0}, {0, 0, 0, 0}}); // pair (1, 2)

    // Items 0 and 1 from the columns of their pair with the next item; the
    // last item from the top of its pair with the one before.
    EXPECT_DOUBLE_EQ((*thresholds)(0, 0), ExactNormalQuantile(0.3));
    EXPECT_DOUBLE_EQ((*thresholds)(0, 1), ExactNormalQuantile(0.7));
    EXPECT_EQ((*thresholds)(0, 2), 0.0);
    EXPECT_DOUBLE_EQ((*thresholds)(1, 0), ExactNormalQuantile(0.4));
    EXPECT_EQ((*thresholds)(1, 1), 0.0);
    EXPECT_DOUBLE_EQ((*thresholds)(2, 2), ExactNormalQuantile(0.7));
    EXPECT_DOUBLE_EQ((*thresholds)(2, 1), ExactNormalQuantile(0.4));
    EXPECT_DOUBLE_EQ((*thresholds)(2, 0), ExactNormalQuantile(0.2));
}

TEST(PolychoricMatrix, DetailsTooSmallForTheTablesAreAProgrammingError)
{
    MatrixScope scope;
    Matrix* data = TwoByTwoData(30, 20, 15, 35);
    EXPECT_THROW(PolychoricMatrixWithDetails(data, Column(2, 0), Column(2, 1), NewMatrix(2, 1), NewMatrix(1, 2)),
                 MatrixEngineError);
}

TEST_F(PolychoricMatrixTest, ScopesAreBalancedOnSuccessAndFailure)
{
    std::mt19937 random(8);
    Matrix* data = RandomData(random, 100, 3, 3);
    const Matrix* lowest = Column(3, 1);
    const Matrix* highest = Column(3, 3);
    const Matrix* tooHigh = Column(3, 4);
    const std::size_t scopes = CurrentPool().OpenScopeCount();
    const std::size_t live = LiveMatrixCount();
    ASSERT_NE(PolychoricMatrix(data, lowest, highest), nullptr);
    EXPECT_EQ(LiveMatrixCount(), live + 1);
    EXPECT_EQ(PolychoricMatrix(data, lowest, tooHigh), nullptr);
    EXPECT_EQ(CurrentPool().OpenScopeCount(), scopes);
}

TEST_F(PolychoricMatrixTest, AgreesWithTheStraightforwardEvaluation)
{
    // Pairs in their order, tables the right way round, thresholds from the
    // right margins: every entry the likelihood's maximum of its own pair.
    std::mt19937 random(9);
    for (int trial = 0; trial < 8; ++trial) {
        MatrixScope scope;
        const int categories = 2 + trial % 4;
        Matrix* data = RandomData(random, 60 + 40 * trial, 4, categories);
        const Matrix* cached = PolychoricMatrix(data, Column(4, 1), Column(4, categories));
        if (cached == nullptr) {
            continue; // a category left empty by chance
        }
        const Matrix* reference = ReferencePolychoricMatrix(data);
        for (int i = 0; i < 4; ++i) {
            for (int j = 0; j < 4; ++j) {
                if (std::fabs((*cached)(i, j)) < kLargestPolychoricCorrelation) {
                    EXPECT_NEAR((*cached)(i, j), (*reference)(i, j), 1e-7)
                        << "trial " << trial << " " << i << "," << j;
                }
            }
        }
    }
}

// The sample that holds row k of data counts[k] times, copied out.
Matrix* RowsByCount(const Matrix* data, const std::vector<int>& counts)
{
    int total = 0;
    for (int count : counts) {
        total += count;
    }
    Matrix* copy = NewMatrix(total, data->Cols());
    int row = 0;
    for (int k = 0; k < data->Rows(); ++k) {
        for (int c = 0; c < counts[k]; ++c, ++row) {
            for (int i = 0; i < data->Cols(); ++i) {
                (*copy)(row, i) = (*data)(k, i);
            }
        }
    }
    return copy;
}

// Bit-identical matrices, or both missing.
void ExpectSameMatrix(const Matrix* weighted, const Matrix* copied, const char* what)
{
    ASSERT_EQ(weighted == nullptr, copied == nullptr) << what;
    if (weighted == nullptr) {
        return;
    }
    ASSERT_EQ(weighted->Rows(), copied->Rows()) << what;
    for (int i = 0; i < weighted->Rows(); ++i) {
        for (int j = 0; j < weighted->Cols(); ++j) {
            EXPECT_EQ((*weighted)(i, j), (*copied)(i, j)) << what << " " << i << "," << j;
        }
    }
}

TEST_F(PolychoricMatrixTest, WeightedSampleGivesTheMatrixOfItsCopiedRows)
{
    // Bootstrap draws of small and large samples, items of different
    // ranges, a sparse category that some draws lose: the matrix and its
    // failures are those of the copied rows.
    std::mt19937 random(11);
    RandomSource draws(77u);
    struct Case {
        int rows;
        int categories;
    };
    int failures = 0;
    int successes = 0;
    for (const Case sample : {Case{40, 5}, Case{300, 4}, Case{1800, 6}}) {
        MatrixScope scope;
        Matrix* data = RandomData(random, sample.rows, 4, sample.categories);
        // Item 3 is scored 0..1 instead, with a fractional score that
        // truncates into its range.
        for (int n = 0; n < sample.rows; ++n) {
            (*data)(n, 3) = (*data)(n, 3) > sample.categories / 2.0 ? 1.0 : 0.0;
        }
        (*data)(0, 3) = 0.5;
        // Item 0's lowest score in one row only, which about a third of
        // the draws miss.
        for (int n = 0; n < sample.rows; ++n) {
            (*data)(n, 0) = std::fmax((*data)(n, 0), 2.0);
        }
        (*data)(1, 0) = 1.0;
        const Matrix* lowest = FromRows({{1}, {1}, {1}, {0}});
        const Matrix* highest = FromRows({{1.0 * sample.categories}, {1.0 * sample.categories},
                                          {1.0 * sample.categories}, {1}});
        std::vector<int> counts;
        for (int draw = 0; draw < 8; ++draw) {
            MatrixScope drawScope;
            ResampleCounts(sample.rows, counts, draws);
            const Matrix* weighted = WeightedPolychoricMatrix(data, counts, lowest, highest);
            (weighted == nullptr ? failures : successes) += 1;
            ExpectSameMatrix(weighted, PolychoricMatrix(RowsByCount(data, counts), lowest, highest), "draw");
        }
    }
    EXPECT_GT(failures, 0) << "no draw lost the sparse category";
    EXPECT_GT(successes, 0);

    // Rows not drawn do not count, out-of-range scores included; no row
    // drawn is no sample.
    Matrix* data = RandomData(random, 120, 3, 3);
    (*data)(5, 1) = 9.0;
    std::vector<int> counts(120, 1);
    counts[5] = 0;
    counts[6] = 3;
    const Matrix* lowest = Column(3, 1);
    const Matrix* highest = Column(3, 3);
    ExpectSameMatrix(WeightedPolychoricMatrix(data, counts, lowest, highest),
                     PolychoricMatrix(RowsByCount(data, counts), lowest, highest), "undrawn row");
    EXPECT_EQ(WeightedPolychoricMatrix(data, std::vector<int>(120, 1), lowest, highest), nullptr);
    EXPECT_EQ(WeightedPolychoricMatrix(data, std::vector<int>(120, 0), lowest, highest), nullptr);
    EXPECT_THROW(WeightedPolychoricMatrix(data, std::vector<int>(119, 1), lowest, highest), MatrixEngineError);
}

TEST_F(PolychoricMatrixTest, AbsurdDeclaredRangesGiveNull)
{
    // More categories than cases, or a range upside down: refused without
    // trying to count the categories.
    Matrix* data = FromRows({{1, 2}, {2, 1}, {1, 1}, {2, 2}});
    EXPECT_NE(PolychoricMatrix(data, Column(2, 1), Column(2, 2)), nullptr);
    EXPECT_EQ(PolychoricMatrix(data, Column(2, 1), Column(2, 2e9)), nullptr);
    EXPECT_EQ(PolychoricMatrix(data, Column(2, 2), Column(2, 1)), nullptr);
    EXPECT_EQ(PolychoricMatrix(data, Column(2, std::nan("")), Column(2, 2)), nullptr);
    EXPECT_EQ(PolychoricMatrix(data, Column(2, 1), Column(2, 1e300)), nullptr);
}

} // namespace
