// PCA, ULS and ML loadings against R (psych::principal, psych::fa, factanal)
// on simulated data sets of 6 to 30 items, and the edge cases of each method.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "factor/MlDiscrepancy.h"
#include "factor/MlExtraction.h"
#include "factor/MlLoadings.h"
#include "factor/PrincipalComponents.h"
#include "factor/Procrustes.h"
#include "factor/UlsExtraction.h"
#include "tests/factor/reference_fixture.h"
#include "tests/matrix/matrix_test_support.h"

using namespace talver;

namespace {

constexpr float kTolerance = 0.0001f;

// Sum of squared off-diagonal residuals of s - l l'.
double OffDiagonalResidual(const Matrix* s, const Matrix* l)
{
    double sum = 0.0;
    for (int i = 0; i < s->Rows(); ++i) {
        for (int j = 0; j < s->Cols(); ++j) {
            if (i != j) {
                double r = (*s)(i, j);
                for (int k = 0; k < l->Cols(); ++k) {
                    r -= (*l)(i, k) * (*l)(j, k);
                }
                sum += r * r;
            }
        }
    }
    return sum;
}

// Largest absolute difference after rotating actual onto expected: ULS
// loadings are only determined up to an orthogonal rotation.
double AlignedDistance(const Matrix* actual, const Matrix* expected)
{
    const Matrix* aligned = Product(actual, ProcrustesRotation(actual, expected));
    double largest = 0.0;
    for (int i = 0; i < actual->Rows(); ++i) {
        for (int k = 0; k < actual->Cols(); ++k) {
            largest = std::max(largest, std::fabs((*aligned)(i, k) - (*expected)(i, k)));
        }
    }
    return largest;
}

bool AllFinite(const Matrix* a)
{
    for (double v : Elements(a)) {
        if (!std::isfinite(v)) {
            return false;
        }
    }
    return true;
}

class ExtractionAgreement : public MatrixTest, public ::testing::WithParamInterface<std::string> {
protected:
    void SetUp() override
    {
        MatrixTest::SetUp();
        s = fixture.Get("S");
        p = s->Rows();
        m = static_cast<int>(fixture.Scalar("m"));
    }

    ReferenceFixture fixture{GetParam()};
    Matrix* s = nullptr;
    int p = 0;
    int m = 0;
};

TEST_P(ExtractionAgreement, PrincipalComponentsMatchR)
{
    Matrix* weights = NewMatrix(p, m);
    Matrix* loadings = NewMatrix(p, m);
    double explained = 0.0;
    ExtractPrincipalComponents(s, m, weights, loadings, explained);

    // The Jacobi stopping rule leaves off-diagonal elements up to 1e-6 of the
    // diagonal's size.
    EXPECT_LT(LoadingsDistance(loadings, fixture.Get("pca")), 1e-5);
    const Matrix* eigen = fixture.Get("eigen");
    double leading = 0.0;
    for (int k = 0; k < m; ++k) {
        leading += (*eigen)(k, 0);
        // Weights are the eigenvectors over the root of the eigenvalue,
        // loadings times it.
        for (int i = 0; i < p; ++i) {
            EXPECT_NEAR((*weights)(i, k) * (*eigen)(k, 0), (*loadings)(i, k), 1e-5 * std::sqrt((*eigen)(k, 0)));
        }
    }
    EXPECT_NEAR(explained, leading, 1e-10 * leading);
}

TEST_P(ExtractionAgreement, UlsReachesTheMinimumResidualSolution)
{
    Matrix* loadings = NewMatrix(p, m);
    double stat = -1.0;
    ExtractUls(s, m, kTolerance, static_cast<int>(fixture.Scalar("n")), loadings, stat);

    // The finish reaches the minimum: the residual equals R's tight one.
    const double minimum = OffDiagonalResidual(s, fixture.Get("uls_exact"));
    const double reached = OffDiagonalResidual(s, loadings);
    EXPECT_GE(reached, minimum - 1e-12 * minimum);
    EXPECT_LT(reached - minimum, 1e-10 * minimum);
    EXPECT_LT(AlignedDistance(loadings, fixture.Get("uls")), 0.01);
}

TEST_P(ExtractionAgreement, MaximumLikelihoodMatchesFactanal)
{
    Matrix* loadings = NewMatrix(p, m);
    double f = -1.0;
    ExtractMaximumLikelihood(s, loadings, m, f);
    ASSERT_NE(loadings, nullptr);

    // factanal run to the limit of double precision (the fixtures' script).
    const double reference = fixture.Scalar("ml_f");
    EXPECT_NEAR(f, reference, 1e-10 * reference);
    EXPECT_LT(LoadingsDistance(loadings, fixture.Get("ml")), 1e-6);
}

TEST_P(ExtractionAgreement, EveryMethodIsFreeOfTheScoresUnits)
{
    // Scores times c: dispersions times c^2, loadings times c, fits of ML
    // unchanged, of ULS and PCA times c^4 and c^2.
    Matrix* uls = NewMatrix(p, m);
    Matrix* pca = NewMatrix(p, m);
    Matrix* ml = NewMatrix(p, m);
    Matrix* weights = NewMatrix(p, m);
    double stat = 0.0;
    double explained = 0.0;
    double f = 0.0;
    ExtractUls(s, m, kTolerance, 0, uls, stat);
    ExtractPrincipalComponents(s, m, weights, pca, explained);
    ExtractMaximumLikelihood(s, ml, m, f);
    ASSERT_NE(ml, nullptr);
    for (double c : {1e-6, 1e-3, 0.03, 1e3, 1e6}) {
        const Matrix* scaled = Times(s, c * c);
        Matrix* scaledUls = NewMatrix(p, m);
        Matrix* scaledPca = NewMatrix(p, m);
        Matrix* scaledMl = NewMatrix(p, m);
        double scaledF = 0.0;
        ExtractUls(scaled, m, kTolerance, 0, scaledUls, stat);
        ExtractPrincipalComponents(scaled, m, weights, scaledPca, explained);
        ExtractMaximumLikelihood(scaled, scaledMl, m, scaledF);
        ASSERT_NE(scaledMl, nullptr) << "scale " << c;
        EXPECT_NEAR(scaledF, f, 1e-10 * f) << "scale " << c;
        EXPECT_LT(LoadingsDistance(Times(scaledMl, 1.0 / c), ml), 1e-7) << "scale " << c;
        EXPECT_LT(LoadingsDistance(Times(scaledPca, 1.0 / c), pca), 1e-8) << "scale " << c;
        EXPECT_LT(AlignedDistance(Times(scaledUls, 1.0 / c), uls), 1e-6) << "scale " << c;
    }
}

INSTANTIATE_TEST_SUITE_P(ReferenceSets, ExtractionAgreement, ::testing::ValuesIn(ReferenceSets()));

using PrincipalComponents = MatrixTest;

TEST_F(PrincipalComponents, EqualEigenvaluesTakeTheLaterFirst)
{
    Matrix* weights = NewMatrix(2, 1);
    Matrix* loadings = NewMatrix(2, 1);
    double explained = 0.0;
    ExtractPrincipalComponents(Identity(2), 1, weights, loadings, explained);
    ExpectMatrix(loadings, 2, 1, {0.0, 1.0});
    ExpectMatrix(weights, 2, 1, {0.0, 1.0});
    EXPECT_EQ(explained, 1.0);
}

using Uls = MatrixTest;

TEST_F(Uls, StatisticFollowsTheSampleSize)
{
    // On a multiple of the identity the start fits exactly (no sweep) and
    // the reproduced matrix with its unit diagonal is the identity.
    Matrix* loadings = NewMatrix(3, 1);
    double stat = 42.0;
    ExtractUls(Times(Identity(3), 0.5), 1, kTolerance, 0, loadings, stat);
    EXPECT_EQ(stat, 42.0);
    ExtractUls(Times(Identity(3), 0.5), 1, kTolerance, -5, loadings, stat);
    EXPECT_EQ(stat, 42.0);

    ExtractUls(Times(Identity(3), 0.5), 1, kTolerance, 100, loadings, stat);
    EXPECT_EQ(stat, 99 * (0.0 - std::log(0.125)));

    // ln det H = 0 < ln det S = ln 8: a negative statistic becomes 0.
    stat = 42.0;
    ExtractUls(Times(Identity(3), 2.0), 1, kTolerance, 100, loadings, stat);
    EXPECT_EQ(stat, 0.0);
}

TEST_F(Uls, NonFiniteResidualEndsTheSweeps)
{
    // With a negative tolerance an exact fit would sweep forever; on the
    // identity the loadings of all other items are zero for the loaded item,
    // E'E is singular and the residual turns NaN, which ends the sweeps.
    Matrix* loadings = NewMatrix(3, 1);
    double stat = 0.0;
    ExtractUls(Identity(3), 1, -1.0f, 0, loadings, stat);
    EXPECT_FALSE(AllFinite(loadings));

    // A NaN in S makes the start non-finite: no sweep at all.
    Matrix* s = Identity(3);
    (*s)(0, 1) = (*s)(1, 0) = std::numeric_limits<double>::quiet_NaN();
    ExtractUls(s, 1, kTolerance, 10, loadings, stat);
    EXPECT_FALSE(AllFinite(loadings));
}

using MaximumLikelihood = MatrixTest;

TEST_F(MaximumLikelihood, DiscrepancyVanishesForAnExactFit)
{
    const Matrix* lambda = FromRows({{0.8, 0.1}, {0.7, -0.2}, {0.2, 0.6}, {0.1, 0.7}, {0.5, 0.5}});
    const Matrix* psi = FromRows({{0.3}, {0.4}, {0.5}, {0.45}, {0.35}});
    const Matrix* s = Plus(Product(lambda, Transposed(lambda)), Diag(psi));
    EXPECT_NEAR(MlDiscrepancy(lambda, psi, s), 0.0, 1e-13);

    // With no common factor and psi = 1: tr(S) - ln det(S) - p.
    const Matrix* r = FromRows({{1.0, 0.5}, {0.5, 1.0}});
    EXPECT_NEAR(MlDiscrepancy(NewMatrix(2, 1), Ones(2, 1), r), 2.0 - std::log(0.75) - 2.0, 1e-15);
}

TEST_F(MaximumLikelihood, EigenvaluesBelowOneAreReplaced)
{
    // S = diag(1, 2, 3, 4): Psi^-1/2 S Psi^-1/2 is diagonal, and its
    // largest eigenvalue belongs to item 4.
    const Matrix* s = Diag(FromRows({{1.0}, {2.0}, {3.0}, {4.0}}));
    Matrix* gamma = NewMatrix(2, 1);
    Matrix* omega = NewMatrix(4, 2);

    // psi = 10: gamma = 1 / 2.5 and 1 / 3.33, both below 1, become 1.01 and
    // the loadings are sqrt(10) times sqrt(0.01) = 0.1.
    const Matrix* small = MlLoadings(s, Filled(4, 1, 10.0), gamma, omega);
    ExpectMatrix(gamma, 2, 1, {1.01, 1.01});
    EXPECT_NEAR(std::fabs((*small)(3, 0)), std::sqrt(10.0) * 0.1, 1e-12);
    EXPECT_NEAR(std::fabs((*small)(2, 1)), std::sqrt(10.0) * 0.1, 1e-12);
    EXPECT_NEAR((*small)(0, 0), 0.0, 1e-12);

    // psi = 0.1: gamma = 40 is kept, loading sqrt(0.1) sqrt(39).
    const Matrix* large = MlLoadings(s, Filled(4, 1, 0.1), gamma, omega);
    EXPECT_NEAR((*gamma)(0, 0), 40.0, 1e-9);
    EXPECT_NEAR(std::fabs((*large)(3, 0)), std::sqrt(0.1 * 39.0), 1e-9);
}

TEST_F(MaximumLikelihood, HeywoodCaseStaysAtTheBound)
{
    // The one-factor fit wants a loading of 1.1 on item 1 of a correlation
    // matrix; its unique variance is held at 0.001, as in factanal with that
    // lower bound.
    ReferenceFixture fixture("heywood5");
    const Matrix* s = fixture.Get("S");
    Matrix* loadings = NewMatrix(5, 1);
    double f = 0.0;
    ExtractMaximumLikelihood(s, loadings, 1, f);
    ASSERT_NE(loadings, nullptr);
    EXPECT_LT(LoadingsDistance(loadings, fixture.Get("ml")), 1e-6);
    EXPECT_NEAR(f, fixture.Scalar("ml_f"), 1e-9);
    EXPECT_NEAR(f, MlDiscrepancy(loadings, fixture.Get("ml_uniquenesses"), s), 1e-9);
    EXPECT_NEAR((*s)(0, 0) - (*loadings)(0, 0) * (*loadings)(0, 0), 0.001, 1e-5);
}

TEST_F(MaximumLikelihood, NoConvergenceWithinTheLimitGivesNoLoadings)
{
    // The discrepancy is still falling after 100 iterations; factanal
    // converges on the same matrix.
    ReferenceFixture fixture("slow10");
    Matrix* loadings = NewMatrix(10, 3);
    double f = 1.0;
    ExtractMaximumLikelihood(fixture.Get("S"), loadings, 3, f);
    EXPECT_EQ(loadings, nullptr);
    EXPECT_EQ(f, 0.0);
}

TEST_F(MaximumLikelihood, SingularMatrixGivesNoLoadings)
{
    // Items 1 and 2 are the same item.
    const Matrix* s = FromRows({{1.0, 1.0, 0.5, 0.4}, {1.0, 1.0, 0.5, 0.4}, {0.5, 0.5, 1.0, 0.3}, {0.4, 0.4, 0.3, 1.0}});
    Matrix* loadings = NewMatrix(4, 1);
    double f = 1.0;
    ExtractMaximumLikelihood(s, loadings, 1, f);
    EXPECT_EQ(loadings, nullptr);
    EXPECT_EQ(f, 0.0);
}

TEST_F(MaximumLikelihood, LeavesNoMatricesBehind)
{
    ReferenceFixture fixture("cor12");
    const Matrix* s = fixture.Get("S");
    Matrix* loadings = NewMatrix(12, 3);
    Matrix* weights = NewMatrix(12, 3);
    Matrix* mlLoadings = NewMatrix(12, 3);
    const std::size_t live = LiveMatrixCount();
    double f = 0.0;
    ExtractMaximumLikelihood(s, mlLoadings, 3, f);
    ExtractUls(s, 3, kTolerance, 400, loadings, f);
    ExtractPrincipalComponents(s, 3, weights, loadings, f);
    EXPECT_EQ(LiveMatrixCount(), live);
}

} // namespace
