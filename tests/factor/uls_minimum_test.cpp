// ULS loadings at the least-squares minimum: against tight R solutions, on
// every scale of S, with unique variances held at 0 where the minimum would
// need them below it.

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "matrix/MatrixOps.h"
#include "factor/UlsExtraction.h"
#include "factor/Varimax.h"
#include "tests/factor/reference_fixture.h"
#include "tests/factor/uls_test_support.h"
#include "tests/matrix/matrix_test_support.h"

using namespace talver;

namespace {

// Loadings rotated by Varimax run to convergence: ULS fixes loadings only up
// to a rotation, and the program's own Varimax tolerance is too loose for a
// comparison to 1e-6.
Matrix* TightVarimax(const Matrix* loadings)
{
    RandomSource random;
    double criterion = 0.0;
    return Product(loadings, VarimaxRotation(loadings, 1e-14, criterion, 10, 1, random));
}

double MaxAbsDifference(const Matrix* a, const Matrix* b)
{
    double largest = 0.0;
    for (int i = 0; i < a->Rows(); ++i) {
        for (int j = 0; j < a->Cols(); ++j) {
            largest = std::max(largest, std::fabs((*a)(i, j) - (*b)(i, j)));
        }
    }
    return largest;
}

class UlsMinimum : public MatrixTest, public ::testing::WithParamInterface<std::string> {};

TEST_P(UlsMinimum, LoadingsMatchTheTightRSolutionAfterVarimax)
{
    ReferenceFixture fixture(GetParam());
    const Matrix* s = fixture.Get("S");
    const int m = static_cast<int>(fixture.Scalar("m"));
    const Matrix* reference = fixture.Get("uls_exact");
    const Matrix* loadings = Uls(s, m);
    // Loadings scale with the root of the variances.
    const double unit = std::sqrt(LargestVariance(s));
    EXPECT_LT(LoadingsDistance(TightVarimax(loadings), TightVarimax(reference)), 1e-6 * unit);
    // The rotation-free part as well: the reproduced covariances.
    EXPECT_LT(MaxAbsDifference(Product(loadings, Transposed(loadings)), Product(reference, Transposed(reference))),
              1e-6 * unit * unit);
}

INSTANTIATE_TEST_SUITE_P(ReferenceSets, UlsMinimum,
                         ::testing::Values("cor6", "cov8", "cor12", "cov20", "cor30", "cov30", "wide6", "wide6cor",
                                           "binary8", "binary8cor"));

using UlsScale = MatrixTest;

TEST_F(UlsScale, LoadingsFollowTheScaleOfS)
{
    // ULS loadings of c S are sqrt(c) times those of S, for the small and the
    // large variances alike: the stop rule knows no absolute size.
    ReferenceFixture fixture("cor12");
    const Matrix* s = fixture.Get("S");
    const Matrix* base = TightVarimax(Uls(s, 3));
    for (double c : {1e-4, 0.25, 100.0, 1e4}) {
        const Matrix* scaled = TightVarimax(Uls(Times(s, c), 3));
        EXPECT_LT(LoadingsDistance(scaled, Times(base, std::sqrt(c))), 1e-8 * std::sqrt(c)) << "c = " << c;
    }
}

TEST_F(UlsScale, SweepsGiveOnlyTheStart)
{
    // Whether the sweeps run (tolerance below the start's residual) or not
    // (above it), the finish reaches the same minimum.
    ReferenceFixture fixture("cor6");
    const Matrix* s = fixture.Get("S");
    double stat = 0.0;
    Matrix* unswept = NewMatrix(6, 2);
    ExtractUls(s, 2, 1e6f, 0, unswept, stat);
    Matrix* swept = NewMatrix(6, 2);
    ExtractUls(s, 2, 1e-30f, 0, swept, stat);
    EXPECT_LT(MaxAbsDifference(Product(unswept, Transposed(unswept)), Product(swept, Transposed(swept))), 1e-8);
    EXPECT_LT(LoadingsDistance(TightVarimax(unswept), TightVarimax(fixture.Get("uls_exact"))), 1e-6);
}

TEST_F(UlsScale, UniqueVarianceStaysAtZeroInAHeywoodCase)
{
    // One factor that would need a loading of 1.1 on the first item of a
    // correlation matrix: the residual variance of that item stops at 0 and
    // the others stay positive.
    const Matrix* lambda = FromRows({{1.1}, {0.6}, {0.5}, {0.6}, {0.5}});
    Matrix* s = Product(lambda, Transposed(lambda));
    for (int i = 0; i < 5; ++i) {
        (*s)(i, i) = 1.0;
    }
    const Matrix* loadings = Uls(s, 1);
    EXPECT_NEAR((*loadings)(0, 0) * (*loadings)(0, 0), 1.0, 1e-10);
    for (int i = 1; i < 5; ++i) {
        EXPECT_LT((*loadings)(i, 0) * (*loadings)(i, 0), 1.0) << "item " << i + 1;
    }
}

TEST_F(UlsScale, ExactFitIsKept)
{
    // S = L L' + Psi exactly: the minimum is 0 and the loadings reproduce it.
    const Matrix* lambda =
        FromRows({{0.8, 0.1}, {0.7, -0.2}, {0.6, 0.1}, {0.1, 0.7}, {0.2, 0.6}, {-0.1, 0.8}});
    const Matrix* psi = FromRows({{0.3}, {0.4}, {0.5}, {0.45}, {0.35}, {0.3}});
    const Matrix* s = Plus(Product(lambda, Transposed(lambda)), Diag(psi));
    const Matrix* loadings = Uls(s, 2);
    EXPECT_LT(MaxAbsDifference(Product(loadings, Transposed(loadings)), Product(lambda, Transposed(lambda))), 1e-8);
}

} // namespace
