// Varimax against R's stats::varimax and its own contract (random starts,
// reflection, abandon rule); Procrustes against known rotations.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "factor/Procrustes.h"
#include "factor/Varimax.h"
#include "stats/RandomSource.h"
#include "tests/factor/reference_fixture.h"
#include "tests/matrix/matrix_test_support.h"
#include "support/test_random.h"

using namespace talver;

namespace {

constexpr double kTolerance = 0.0001;
constexpr int kRandomStarts = 10;
constexpr int kNormalize = 1;

// Sum over columns of the squared deviations of the squared loadings from
// their column mean.
double VarimaxCriterion(const Matrix* r)
{
    double total = 0.0;
    for (int c = 0; c < r->Cols(); ++c) {
        double mean = 0.0;
        for (int i = 0; i < r->Rows(); ++i) {
            mean += (*r)(i, c) * (*r)(i, c) / r->Rows();
        }
        for (int i = 0; i < r->Rows(); ++i) {
            const double d = (*r)(i, c) * (*r)(i, c) - mean;
            total += d * d;
        }
    }
    return total;
}

// Largest deviation of t't from the identity.
double OrthogonalityError(const Matrix* t)
{
    const Matrix* product = Product(Transposed(t), t);
    double largest = 0.0;
    for (int i = 0; i < t->Cols(); ++i) {
        for (int j = 0; j < t->Cols(); ++j) {
            largest = std::max(largest, std::fabs((*product)(i, j) - (i == j ? 1.0 : 0.0)));
        }
    }
    return largest;
}

void ExpectNonNegativeColumnSums(const Matrix* rotated)
{
    const Matrix* sums = ColumnSums(rotated);
    for (int c = 0; c < sums->Cols(); ++c) {
        EXPECT_GE((*sums)(0, c), 0.0) << "column " << c;
    }
}

// Loadings on which the unrotated start ends in a local optimum (criterion
// 2.1909) and the fifth random start finds a better one (2.2740).
Matrix* SeveralOptima()
{
    return FromRows({{-0.92, 0.50, 0.41},
                     {0.51, -0.60, 0.60},
                     {-0.53, -0.11, -0.84},
                     {0.96, 0.51, -0.35},
                     {-0.91, -0.40, 0.13},
                     {-0.33, -0.63, -0.31}});
}

// The random source moved on by n draws from its start.
std::uint32_t StateAfter(std::uint64_t n)
{
    RandomSource source;
    source.JumpAhead(n);
    return source.State();
}

class VarimaxTest : public MatrixTest {
protected:
    void SetUp() override
    {
        MatrixTest::SetUp();
        ResetTestRandom();
    }
};

class VarimaxAgreement : public VarimaxTest, public ::testing::WithParamInterface<std::string> {};

TEST_P(VarimaxAgreement, MatchesKaiserNormalizedVarimax)
{
    ReferenceFixture fixture(GetParam());
    const Matrix* a = fixture.Get("varimax_in");
    double criterion = 0.0;
    const Matrix* t = VarimaxRotation(a, kTolerance, criterion, kRandomStarts, kNormalize, TestRandom());
    const Matrix* rotated = Product(a, t);

    // R's result has its own column order and signs.
    EXPECT_LT(LoadingsDistance(rotated, fixture.Get("varimax_out")), 1e-4);
    ExpectNonNegativeColumnSums(rotated);
    EXPECT_LT(OrthogonalityError(t), 1e-12);
    EXPECT_NEAR(criterion, VarimaxCriterion(RowsNormalized(rotated)), 1e-12 * criterion);
}

INSTANTIATE_TEST_SUITE_P(ReferenceSets, VarimaxAgreement, ::testing::ValuesIn(ReferenceSets()));

TEST_F(VarimaxTest, KeptStartHasTheLargestCriterion)
{
    const Matrix* a = SeveralOptima();
    double previous = 0.0;
    double first = 0.0;
    for (int starts = 0; starts <= kRandomStarts; ++starts) {
        // The same draws each time: more starts can only add candidates.
        ResetTestRandom();
        double criterion = 0.0;
        const Matrix* t = VarimaxRotation(a, kTolerance, criterion, starts, kNormalize, TestRandom());
        const Matrix* rotated = Product(a, t);
        EXPECT_NEAR(criterion, VarimaxCriterion(RowsNormalized(rotated)), 1e-12);
        ExpectNonNegativeColumnSums(rotated);
        if (starts == 0) {
            first = criterion;
        } else {
            EXPECT_GE(criterion, previous) << starts << " random starts";
        }
        previous = criterion;
    }
    EXPECT_GT(previous, first + 0.05);
}

TEST_F(VarimaxTest, CallsDifferOnlyThroughTheRandomStarts)
{
    const Matrix* a = SeveralOptima();
    double criterion = 0.0;
    VarimaxRotation(a, kTolerance, criterion, kRandomStarts, kNormalize, TestRandom());
    // One 3 x 3 random matrix per random start: 10 draws each.
    EXPECT_EQ(TestRandom().State(), StateAfter(100));
    const Matrix* second = VarimaxRotation(a, kTolerance, criterion, kRandomStarts, kNormalize, TestRandom());

    ResetTestRandom();
    for (int i = 0; i < 100; ++i) {
        NextRandom(TestRandom());
    }
    double again = 0.0;
    const Matrix* replayed = VarimaxRotation(a, kTolerance, again, kRandomStarts, kNormalize, TestRandom());
    EXPECT_EQ(Elements(replayed), Elements(second));
    EXPECT_EQ(again, criterion);

    // Without random starts nothing is drawn and the calls agree.
    const std::uint32_t state = TestRandom().State();
    const Matrix* plain = VarimaxRotation(a, kTolerance, criterion, 0, kNormalize, TestRandom());
    EXPECT_EQ(Elements(VarimaxRotation(a, kTolerance, again, 0, kNormalize, TestRandom())), Elements(plain));
    EXPECT_EQ(TestRandom().State(), state);
}

TEST_F(VarimaxTest, OneFactorOnlyReflects)
{
    double criterion = -1.0;
    const Matrix* negative = VarimaxRotation(FromRows({{0.5}, {-0.7}, {-0.6}}), kTolerance, criterion,
                                             kRandomStarts, kNormalize, TestRandom());
    ExpectMatrix(negative, 1, 1, {-1.0});
    EXPECT_GE(criterion, 0.0);
    EXPECT_LT(criterion, 1e-25);
    // Two draws per 1 x 1 random matrix.
    EXPECT_EQ(TestRandom().State(), StateAfter(20));

    const Matrix* positive = VarimaxRotation(FromRows({{0.5}, {0.7}, {-0.6}}), kTolerance, criterion,
                                             kRandomStarts, kNormalize, TestRandom());
    ExpectMatrix(positive, 1, 1, {1.0});
}

TEST_F(VarimaxTest, SingleRowAbandonsTheRotation)
{
    double criterion = -1.0;
    const Matrix* t = VarimaxRotation(FromRows({{0.6, 0.3, -0.2}}), kTolerance, criterion, kRandomStarts,
                                      kNormalize, TestRandom());
    ExpectMatrix(t, 3, 3, {1, 0, 0, 0, 1, 0, 0, 0, 1});
    EXPECT_EQ(criterion, 0.0);
    // Abandoned in the unrotated start: no random start drew anything.
    EXPECT_EQ(TestRandom().State(), StateAfter(0));
}

TEST_F(VarimaxTest, NonFiniteLoadingsAbandonTheRotation)
{
    for (double bad : {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity()}) {
        Matrix* a = SeveralOptima();
        (*a)(2, 1) = bad;
        double criterion = -1.0;
        const Matrix* t = VarimaxRotation(a, kTolerance, criterion, kRandomStarts, kNormalize, TestRandom());
        ExpectMatrix(t, 3, 3, {1, 0, 0, 0, 1, 0, 0, 0, 1});
        EXPECT_EQ(criterion, 0.0);
        // The same without Kaiser normalisation, which passes inf through.
        t = VarimaxRotation(a, kTolerance, criterion, kRandomStarts, 0, TestRandom());
        ExpectMatrix(t, 3, 3, {1, 0, 0, 0, 1, 0, 0, 0, 1});
        EXPECT_EQ(criterion, 0.0);
    }
}

using ProcrustesTest = MatrixTest;

// A turn by 0.7 radians in the plane of axes 1 and 3, optionally followed by
// the reflection of axis 1.
Matrix* KnownRotation(bool reflect)
{
    const double c = std::cos(0.7);
    const double s = std::sin(0.7);
    const double r = reflect ? -1.0 : 1.0;
    return FromRows({{r * c, 0.0, -r * s}, {0.0, 1.0, 0.0}, {s, 0.0, c}});
}

TEST_F(ProcrustesTest, UndoesAKnownRotation)
{
    ReferenceFixture fixture("cor12");
    const Matrix* l = fixture.Get("varimax_in");
    for (bool reflect : {false, true}) {
        const Matrix* t0 = KnownRotation(reflect);
        const Matrix* t = ProcrustesRotation(Product(l, t0), l);
        const Matrix* expected = Transposed(t0);
        for (int i = 0; i < 3; ++i) {
            for (int j = 0; j < 3; ++j) {
                // Within what the Jacobi stopping rule of the decomposition allows.
                EXPECT_NEAR((*t)(i, j), (*expected)(i, j), 5e-6) << i << ", " << j;
            }
        }
    }
}

} // namespace
