#include <cmath>
#include <random>
#include <vector>

#include "factor/CholeskyFactor.h"
#include "factor/Inverse.h"
#include "factor/MlDiscrepancy.h"
#include "factor/MlLoadings.h"
#include "factor/SymmetricEigen.h"
#include "factor/SymmetricSolve.h"
#include "tests/factor/factor_test_support.h"

namespace {

using MlKernels = MatrixTest;

// The sample covariance (divisor n) of n participants from m factors with
// loadings .3 to .9, the first two items correlating about .95, the last
// item skewed by squaring.
Matrix* FactorSample(unsigned seed, int p, int m, int n)
{
    std::mt19937 generator(seed);
    std::normal_distribution<double> normal;
    std::uniform_real_distribution<double> uniform(0.3, 0.9);
    std::vector<double> loading(p);
    for (double& value : loading) {
        value = uniform(generator);
    }
    loading[0] = loading[1] = 0.975;
    std::vector<double> x(static_cast<std::size_t>(n) * p);
    std::vector<double> mean(p, 0.0);
    for (int r = 0; r < n; ++r) {
        std::vector<double> f(m);
        for (double& value : f) {
            value = normal(generator);
        }
        for (int i = 0; i < p; ++i) {
            double score = loading[i] * f[i % m] + std::sqrt(1.0 - loading[i] * loading[i]) * normal(generator);
            if (i == p - 1) {
                score = score * score;
            }
            x[static_cast<std::size_t>(r) * p + i] = score;
            mean[i] += score / n;
        }
    }
    Matrix* s = NewMatrix(p, p);
    for (int i = 0; i < p; ++i) {
        for (int j = 0; j < p; ++j) {
            double sum = 0.0;
            for (int r = 0; r < n; ++r) {
                sum += (x[static_cast<std::size_t>(r) * p + i] - mean[i]) * (x[static_cast<std::size_t>(r) * p + j] - mean[j]);
            }
            (*s)(i, j) = sum / n;
        }
    }
    return s;
}

// F by its definition, with Sigma inverted and P's determinant taken whole.
double DirectDiscrepancy(const Matrix* lambda, const Matrix* psi, const Matrix* s)
{
    const Matrix* sigma = Plus(Product(lambda, Transposed(lambda)), Diag(psi));
    const Matrix* fit = Product(s, Inverse(sigma));
    return Trace(fit) - std::log(Determinant(fit)) - s->Rows();
}

TEST_F(MlKernels, DiscrepancyAgreesWithItsDefinition)
{
    // Loadings and unique variances away from the minimum, one unique
    // variance at the iterations' bound, as in a Heywood case.
    for (unsigned seed : {1u, 2u, 3u}) {
        const int p = 24;
        const int m = 3;
        const Matrix* s = FactorSample(seed, p, m, 300);
        std::mt19937 generator(seed + 100);
        std::uniform_real_distribution<double> uniform(-0.8, 0.8);
        Matrix* lambda = NewMatrix(p, m);
        Matrix* psi = NewMatrix(p, 1);
        for (int i = 0; i < p; ++i) {
            for (int k = 0; k < m; ++k) {
                (*lambda)(i, k) = uniform(generator);
            }
            (*psi)(i, 0) = 0.2 + std::fabs(uniform(generator));
        }
        (*psi)(0, 0) = 0.001;
        const double direct = DirectDiscrepancy(lambda, psi, s);
        EXPECT_NEAR(MlDiscrepancy(lambda, psi, s), direct, 1e-10 * std::fabs(direct)) << "seed " << seed;
        EXPECT_NEAR(MlDiscrepancy(lambda, psi, s, LogDeterminantOfPositiveDefinite(s)), direct, 1e-10 * std::fabs(direct));
    }
}

TEST_F(MlKernels, CholeskyFactorGivesLogDeterminantAndInverseDiagonalOfPositiveDefiniteMatricesOnly)
{
    const Matrix* s = FactorSample(7, 12, 2, 200);
    EXPECT_NEAR(LogDeterminantOfPositiveDefinite(s), std::log(Determinant(s)), 1e-12);
    std::vector<double> factor = Elements(s);
    ASSERT_TRUE(CholeskyInPlace(factor, 12));
    const std::vector<double> diagonal = DiagonalOfInverse(factor, 12);
    const Matrix* inverse = Inverse(s);
    for (int i = 0; i < 12; ++i) {
        EXPECT_NEAR(diagonal[i], (*inverse)(i, i), 1e-12 * (*inverse)(i, i));
    }

    // 400 items of variance 0.1: the determinant 1e-400 is below the
    // smallest double, its logarithm is not.
    EXPECT_NEAR(LogDeterminantOfPositiveDefinite(Times(Identity(400), 0.1)), 400.0 * std::log(0.1), 1e-9);

    // Eigenvalues 3 and -1 (and two negative ones, whose product is
    // positive): no discrepancy, where the determinant alone would give one.
    EXPECT_TRUE(std::isnan(LogDeterminantOfPositiveDefinite(FromRows({{1.0, 2.0}, {2.0, 1.0}}))));
    const Matrix* twoNegative = FromRows({{1.0, 2.0, 0.0, 0.0}, {2.0, 1.0, 0.0, 0.0}, {0.0, 0.0, 1.0, 2.0}, {0.0, 0.0, 2.0, 1.0}});
    EXPECT_GT(Determinant(twoNegative), 0.0);
    EXPECT_TRUE(std::isnan(MlDiscrepancy(NewMatrix(4, 1), Ones(4, 1), twoNegative)));
}

TEST_F(MlKernels, SolveMatchesTheGeneralizedInverseOrDeclines)
{
    // Symmetric and indefinite, but no pivot near zero: the same solution.
    const Matrix* a = FromRows({{2.0, 1.0, 0.5, 0.0}, {1.0, -3.0, 0.2, 1.0}, {0.5, 0.2, 1.5, -0.7}, {0.0, 1.0, -0.7, 0.8}});
    const std::vector<double> b{1.0, -2.0, 0.5, 3.0};
    std::vector<double> x;
    ASSERT_TRUE(SolveSymmetricWithClearPivots(Elements(a), b, 4, 1e-9, x));
    const Matrix* expected = Product(GeneralizedInverse(a), FromRows({{1.0}, {-2.0}, {0.5}, {3.0}}));
    for (int i = 0; i < 4; ++i) {
        EXPECT_NEAR(x[i], (*expected)(i, 0), 1e-13);
    }

    // The second pivot is 1 - 1 = 0, which the generalised inverse drops.
    const Matrix* singular = FromRows({{1.0, 1.0, 0.0}, {1.0, 1.0, 0.0}, {0.0, 0.0, 2.0}});
    EXPECT_FALSE(SolveSymmetricWithClearPivots(Elements(singular), {1.0, 1.0, 1.0}, 3, 1e-9, x));
}

TEST_F(MlKernels, LoadingsAreTheReciprocalPairsOfTheScaledInverse)
{
    // The m leading pairs of Psi^-1/2 S Psi^-1/2 against the m smallest of
    // Psi^1/2 S^-1 Psi^1/2, taken from a full decomposition.
    const int p = 30;
    const int m = 4;
    const Matrix* s = FactorSample(11, p, m, 400);
    Matrix* psi = NewMatrix(p, 1);
    for (int i = 0; i < p; ++i) {
        (*psi)(i, 0) = (0.3 + 0.02 * i) * (*s)(i, i);
    }
    Matrix* gamma = NewMatrix(m, 1);
    Matrix* omega = NewMatrix(p, m);
    const Matrix* lambda = MlLoadings(s, psi, gamma, omega);

    const Matrix* root = Diag(Sqrt(psi));
    Matrix* values = NewMatrix(p, 1);
    Matrix* vectors = NewMatrix(p, p);
    SymmetricEigen(Product(Product(root, Inverse(s)), root), values, vectors, p);
    Matrix* smallest = NewMatrix(p, m);
    for (int k = 0; k < m; ++k) {
        const double reference = 1.0 / (*values)(p - 1 - k, 0);
        ASSERT_GT(reference, 1.0);
        EXPECT_NEAR((*gamma)(k, 0), reference, 1e-10 * reference);
        for (int i = 0; i < p; ++i) {
            (*smallest)(i, k) = (*vectors)(i, p - 1 - k);
        }
        ExpectColumnUpToSign(omega, smallest, k, 1e-9);
        for (int i = 0; i < p; ++i) {
            EXPECT_NEAR((*lambda)(i, k), (*root)(i, i) * (*omega)(i, k) * std::sqrt((*gamma)(k, 0) - 1.0), 1e-14);
        }
    }
}

} // namespace
