// The eigen solver against what an eigen decomposition must satisfy, on the
// matrices the engine meets: correlation matrices up to .95, covariance
// matrices far from unit scale, repeated and zero eigenvalues, and sizes
// from 1 to 120.

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "factor/SymmetricEigenSolver.h"

namespace {

using talver::SolveLeadingSymmetricEigen;
using talver::SolveSymmetricEigen;
using talver::SymmetricEigenpairs;

double At(const std::vector<double>& m, int n, int i, int j)
{
    return m[static_cast<std::size_t>(i) * n + j];
}

// A random covariance matrix of n items with `factors` common factors of
// loading `loading` and distinct unique variances, times `scale`.
std::vector<double> FactorCovariance(int n, int factors, double loading, double scale, unsigned seed)
{
    std::mt19937 generator(seed);
    std::uniform_real_distribution<double> jitter(-0.05, 0.05);
    std::vector<double> lambda(static_cast<std::size_t>(n) * factors);
    for (int i = 0; i < n; ++i) {
        for (int k = 0; k < factors; ++k) {
            lambda[static_cast<std::size_t>(i) * factors + k] = (i % factors == k ? loading : 0.1) + jitter(generator);
        }
    }
    std::uniform_real_distribution<double> uniqueness(0.1, 0.4);
    std::vector<double> unique(n);
    for (double& u : unique) {
        u = uniqueness(generator);
    }
    std::vector<double> a(static_cast<std::size_t>(n) * n);
    for (int i = 0; i < n; ++i) {
        for (int j = 0; j < n; ++j) {
            double sum = 0.0;
            for (int k = 0; k < factors; ++k) {
                sum += lambda[static_cast<std::size_t>(i) * factors + k] * lambda[static_cast<std::size_t>(j) * factors + k];
            }
            a[static_cast<std::size_t>(i) * n + j] = scale * (i == j ? sum + unique[i] : sum);
        }
    }
    return a;
}

// A V = V diag(values), V'V = I, values descending, signs by the rule.
void ExpectDecomposition(const std::vector<double>& a, int n, const SymmetricEigenpairs& pairs)
{
    ASSERT_EQ(static_cast<int>(pairs.values.size()), n);
    double norm = 0.0;
    for (double x : a) {
        norm = std::max(norm, std::fabs(x));
    }
    const double tolerance = 1e-13 * std::max(norm, 1e-300) * n;
    for (int k = 0; k < n; ++k) {
        if (k > 0) {
            EXPECT_GE(pairs.values[k - 1], pairs.values[k]);
        }
        double sum = 0.0;
        for (int i = 0; i < n; ++i) {
            double av = 0.0;
            for (int j = 0; j < n; ++j) {
                av += At(a, n, i, j) * At(pairs.vectors, n, j, k);
            }
            EXPECT_NEAR(av, pairs.values[k] * At(pairs.vectors, n, i, k), tolerance) << "pair " << k << " row " << i;
            sum += At(pairs.vectors, n, i, k);
        }
        EXPECT_GE(sum, -1e-10) << "vector " << k << " has a negative sum";
        for (int l = 0; l <= k; ++l) {
            double dot = 0.0;
            for (int i = 0; i < n; ++i) {
                dot += At(pairs.vectors, n, i, k) * At(pairs.vectors, n, i, l);
            }
            EXPECT_NEAR(dot, k == l ? 1.0 : 0.0, 1e-13 * n) << "vectors " << k << " and " << l;
        }
    }
}

TEST(SymmetricEigenSolver, DecomposesQuestionnaireMatricesOfEverySizeAndScale)
{
    for (int n : {1, 2, 3, 5, 10, 30, 60, 120}) {
        for (double scale : {1e-6, 1.0, 1e6}) {
            const int factors = std::max(1, std::min(n - 1, n / 10 + 1));
            const std::vector<double> a = FactorCovariance(n, factors, 0.9, scale, 17u + n);
            ExpectDecomposition(a, n, SolveSymmetricEigen(a, n));
        }
    }
}

TEST(SymmetricEigenSolver, HandlesRepeatedZeroAndNegativeEigenvalues)
{
    // Equal correlations: one large eigenvalue and n - 1 equal ones.
    const int n = 8;
    std::vector<double> equal(n * n, 0.95);
    for (int i = 0; i < n; ++i) {
        equal[i * n + i] = 1.0;
    }
    const SymmetricEigenpairs pairs = SolveSymmetricEigen(equal, n);
    ExpectDecomposition(equal, n, pairs);
    EXPECT_NEAR(pairs.values[0], 1.0 + 0.95 * (n - 1), 1e-13);
    for (int k = 1; k < n; ++k) {
        EXPECT_NEAR(pairs.values[k], 0.05, 1e-13);
    }
    // Rank one (zeros) and an indefinite matrix.
    const std::vector<double> rankOne{1, 2, 3, 2, 4, 6, 3, 6, 9};
    ExpectDecomposition(rankOne, 3, SolveSymmetricEigen(rankOne, 3));
    const std::vector<double> indefinite{1, 2, 0, 2, -3, 1, 0, 1, 0.5};
    ExpectDecomposition(indefinite, 3, SolveSymmetricEigen(indefinite, 3));
    // Already diagonal, and all zero.
    const std::vector<double> diagonal{2, 0, 0, 0, 5, 0, 0, 0, 3};
    const SymmetricEigenpairs sorted = SolveSymmetricEigen(diagonal, 3);
    EXPECT_EQ(sorted.values, (std::vector<double>{5, 3, 2}));
    EXPECT_EQ(sorted.vectors, (std::vector<double>{0, 0, 1, 1, 0, 0, 0, 1, 0}));
    ExpectDecomposition(std::vector<double>(16, 0.0), 4, SolveSymmetricEigen(std::vector<double>(16, 0.0), 4));
}

TEST(SymmetricEigenSolver, SignsAndOrderDoNotDependOnTheItemOrder)
{
    // Permuting the items permutes the rows of every eigenvector and
    // nothing else: the sign rule reads no position.
    const int n = 12;
    const std::vector<double> a = FactorCovariance(n, 3, 0.7, 1.0, 5u);
    std::vector<int> order(n);
    for (int i = 0; i < n; ++i) {
        order[i] = (i * 5) % n;
    }
    std::vector<double> permuted(n * n);
    for (int i = 0; i < n; ++i) {
        for (int j = 0; j < n; ++j) {
            permuted[i * n + j] = At(a, n, order[i], order[j]);
        }
    }
    const SymmetricEigenpairs original = SolveSymmetricEigen(a, n);
    const SymmetricEigenpairs reordered = SolveSymmetricEigen(permuted, n);
    for (int k = 0; k < n; ++k) {
        EXPECT_NEAR(original.values[k], reordered.values[k], 1e-13);
        for (int i = 0; i < n; ++i) {
            EXPECT_NEAR(At(reordered.vectors, n, i, k), At(original.vectors, n, order[i], k), 1e-9);
        }
    }
}

TEST(SymmetricEigenSolver, NonFiniteInputGivesNotANumber)
{
    const double nan = std::nan("");
    for (double bad : {nan, std::numeric_limits<double>::infinity()}) {
        const SymmetricEigenpairs pairs = SolveSymmetricEigen({1, bad, bad, 1}, 2);
        for (double x : pairs.values) {
            EXPECT_TRUE(std::isnan(x));
        }
        for (double x : pairs.vectors) {
            EXPECT_TRUE(std::isnan(x));
        }
    }
}

// The leading pairs are the full decomposition's: the very eigenvalues, and
// vectors (n x count) that agree with its columns to rounding, on every
// kind of matrix above, including repeated leading values (where any
// orthonormal basis of their space will do) and the fall back to the full
// decomposition.
void ExpectLeadingOfFull(const std::vector<double>& a, int n, int count)
{
    const SymmetricEigenpairs full = SolveSymmetricEigen(a, n);
    const SymmetricEigenpairs leading = SolveLeadingSymmetricEigen(a, n, count);
    ASSERT_EQ(leading.values, full.values);
    ASSERT_EQ(leading.vectors.size(), static_cast<std::size_t>(n) * count);
    double norm = 0.0;
    for (double x : a) {
        norm = std::max(norm, std::fabs(x));
    }
    for (int k = 0; k < count; ++k) {
        const bool repeated = (k > 0 && full.values[k - 1] - full.values[k] < 1e-8 * norm) ||
                              (k + 1 < n && full.values[k] - full.values[k + 1] < 1e-8 * norm);
        for (int i = 0; i < n; ++i) {
            double av = 0.0;
            for (int j = 0; j < n; ++j) {
                av += At(a, n, i, j) * At(leading.vectors, count, j, k);
            }
            EXPECT_NEAR(av, leading.values[k] * At(leading.vectors, count, i, k), 1e-12 * std::max(norm, 1e-300) * n);
            if (!repeated) {
                EXPECT_NEAR(At(leading.vectors, count, i, k), At(full.vectors, n, i, k), 1e-10)
                    << "n " << n << " vector " << k << " row " << i;
            }
        }
        for (int l = 0; l <= k; ++l) {
            double dot = 0.0;
            for (int i = 0; i < n; ++i) {
                dot += At(leading.vectors, count, i, k) * At(leading.vectors, count, i, l);
            }
            EXPECT_NEAR(dot, k == l ? 1.0 : 0.0, 1e-12 * n);
        }
    }
}

TEST(SymmetricEigenSolver, LeadingPairsAreThoseOfTheFullDecomposition)
{
    for (int n : {1, 2, 5, 30, 60, 120}) {
        for (double scale : {1e-6, 1.0, 1e6}) {
            const int factors = std::max(1, std::min(n - 1, n / 10 + 1));
            const std::vector<double> a = FactorCovariance(n, factors, 0.9, scale, 29u + n);
            for (int count : {0, 1, factors, n}) {
                ExpectLeadingOfFull(a, n, count);
            }
        }
    }
    const int n = 8;
    std::vector<double> equal(n * n, 0.95);
    std::vector<double> identity(n * n, 0.0);
    for (int i = 0; i < n; ++i) {
        equal[i * n + i] = 1.0;
        identity[i * n + i] = 1.0;
    }
    ExpectLeadingOfFull(equal, n, 3);
    ExpectLeadingOfFull(identity, n, 3);
    ExpectLeadingOfFull({1, 2, 0, 2, -3, 1, 0, 1, 0.5}, 3, 2);
    ExpectLeadingOfFull(std::vector<double>(16, 0.0), 4, 2);
    const SymmetricEigenpairs bad = SolveLeadingSymmetricEigen({1, std::nan(""), std::nan(""), 1}, 2, 1);
    EXPECT_TRUE(std::isnan(bad.values[0]) && std::isnan(bad.vectors[0]));
}

} // namespace
