// The precise cyclic Jacobi method against the textbook loops it was written
// from (rotations over columns, vectors in columns): the row-wise rotations,
// the deferred copy of column p and the vectorised updates must leave every
// bit of the eigenvalues and eigenvectors as they were, also for matrices
// whose triangles differ by rounding.

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numeric>
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "factor/CyclicJacobi.h"

namespace {

using talver::CyclicJacobiEigen;
using talver::SymmetricEigenpairs;

// The textbook method: each rotation reads and writes columns p and q of a
// and of v (Golub and Van Loan, section 8.5; Numerical Recipes' form).
SymmetricEigenpairs ReferenceDiagonalized(std::vector<double> a, std::vector<double> v, int n, double precision)
{
    auto at = [n](std::vector<double>& m, int i, int j) -> double& { return m[static_cast<std::size_t>(i) * n + j]; };
    double largest = 0.0;
    for (double x : a) {
        largest = std::max(largest, std::fabs(x));
    }
    const double negligible = precision * largest;
    for (int sweep = 0; sweep < 100; ++sweep) {
        bool rotated = false;
        for (int p = 0; p < n - 1; ++p) {
            for (int q = p + 1; q < n; ++q) {
                const double apq = at(a, p, q);
                const double app = at(a, p, p);
                const double aqq = at(a, q, q);
                if (!(std::fabs(apq) > negligible)) {
                    at(a, p, q) = at(a, q, p) = 0.0;
                    continue;
                }
                rotated = true;
                const double theta = (aqq - app) / (2.0 * apq);
                const double t = (theta >= 0.0 ? 1.0 : -1.0) / (std::fabs(theta) + std::sqrt(theta * theta + 1.0));
                const double c = 1.0 / std::sqrt(t * t + 1.0);
                const double s = t * c;
                at(a, p, p) = app - t * apq;
                at(a, q, q) = aqq + t * apq;
                at(a, p, q) = at(a, q, p) = 0.0;
                for (int k = 0; k < n; ++k) {
                    if (k == p || k == q) {
                        continue;
                    }
                    const double akp = at(a, k, p);
                    const double akq = at(a, k, q);
                    at(a, k, p) = at(a, p, k) = c * akp - s * akq;
                    at(a, k, q) = at(a, q, k) = s * akp + c * akq;
                }
                for (int k = 0; k < n; ++k) {
                    const double vkp = at(v, k, p);
                    const double vkq = at(v, k, q);
                    at(v, k, p) = c * vkp - s * vkq;
                    at(v, k, q) = s * vkp + c * vkq;
                }
            }
        }
        if (!rotated) {
            break;
        }
    }
    std::vector<int> order(n);
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int x, int y) { return at(a, x, x) > at(a, y, y); });
    SymmetricEigenpairs result{std::vector<double>(n), std::vector<double>(static_cast<std::size_t>(n) * n)};
    for (int k = 0; k < n; ++k) {
        result.values[k] = at(a, order[k], order[k]);
        for (int i = 0; i < n; ++i) {
            result.vectors[static_cast<std::size_t>(i) * n + k] = at(v, i, order[k]);
        }
    }
    return result;
}

std::vector<double> Identity(int n)
{
    std::vector<double> v(static_cast<std::size_t>(n) * n, 0.0);
    for (int i = 0; i < n; ++i) {
        v[static_cast<std::size_t>(i) * n + i] = 1.0;
    }
    return v;
}

// start' a start, made exactly symmetric, as the started overload forms it.
std::vector<double> Rotated(const std::vector<double>& a, const std::vector<double>& start, int n)
{
    const auto index = [n](int i, int j) { return static_cast<std::size_t>(i) * n + j; };
    std::vector<double> av(a.size(), 0.0);
    for (int i = 0; i < n; ++i) {
        for (int k = 0; k < n; ++k) {
            for (int j = 0; j < n; ++j) {
                av[index(i, j)] += a[index(i, k)] * start[index(k, j)];
            }
        }
    }
    std::vector<double> rotated(a.size(), 0.0);
    for (int k = 0; k < n; ++k) {
        for (int i = 0; i < n; ++i) {
            for (int j = 0; j < n; ++j) {
                rotated[index(i, j)] += start[index(k, i)] * av[index(k, j)];
            }
        }
    }
    for (int i = 0; i < n; ++i) {
        for (int j = 0; j < i; ++j) {
            rotated[index(i, j)] = rotated[index(j, i)] = 0.5 * (rotated[index(i, j)] + rotated[index(j, i)]);
        }
    }
    return rotated;
}

// A symmetric matrix of a few factors plus noise; with `ties`, its elements
// are rounded to a coarse grid so that equal elements and equal diagonal
// values occur.
std::vector<double> RandomSymmetric(int n, std::mt19937_64& random, bool ties)
{
    std::normal_distribution<double> normal;
    std::vector<double> a(static_cast<std::size_t>(n) * n, 0.0);
    std::vector<double> loadings(static_cast<std::size_t>(n) * 3);
    for (double& l : loadings) {
        l = normal(random);
    }
    for (int i = 0; i < n; ++i) {
        for (int j = 0; j <= i; ++j) {
            double x = i == j ? 1.0 + std::fabs(normal(random)) : 0.1 * normal(random);
            for (int f = 0; f < 3; ++f) {
                x += loadings[static_cast<std::size_t>(i) * 3 + f] * loadings[static_cast<std::size_t>(j) * 3 + f];
            }
            if (ties) {
                x = std::round(x * 2.0) / 2.0;
            }
            a[static_cast<std::size_t>(i) * n + j] = a[static_cast<std::size_t>(j) * n + i] = x;
        }
    }
    return a;
}

// The lower triangle moved by a unit of rounding here and there, as in a
// product D S D; with `ties`, some elements are zero on both sides.
std::vector<double> RoundedApart(std::vector<double> a, int n, std::mt19937_64& random)
{
    for (int i = 0; i < n; ++i) {
        for (int j = 0; j < i; ++j) {
            double& lower = a[static_cast<std::size_t>(i) * n + j];
            if (lower != 0.0 && random() % 3 == 0) {
                lower = std::nextafter(lower, random() % 2 == 0 ? 1e300 : -1e300);
            }
        }
    }
    return a;
}

bool SameBits(const std::vector<double>& x, const std::vector<double>& y)
{
    return x.size() == y.size() && std::memcmp(x.data(), y.data(), x.size() * sizeof(double)) == 0;
}

TEST(CyclicJacobiTest, EveryBitAsTheTextbookLoops)
{
    std::mt19937_64 random(20261209);
    for (int n = 1; n <= 70; n += (n < 12 ? 1 : 7)) {
        for (bool ties : {false, true}) {
            SCOPED_TRACE(testing::Message() << "n = " << n << (ties ? ", with ties" : ""));
            const std::vector<double> a = RandomSymmetric(n, random, ties);
            const std::vector<double> apart = RoundedApart(a, n, random);
            for (double precision : {talver::kFullPrecision, 1e-8}) {
                for (const std::vector<double>* input : {&a, &apart}) {
                    const SymmetricEigenpairs expected = ReferenceDiagonalized(*input, Identity(n), n, precision);
                    const SymmetricEigenpairs found = CyclicJacobiEigen(*input, n, precision);
                    const char* which = input == &a ? "symmetric" : "symmetric up to rounding";
                    EXPECT_TRUE(SameBits(found.values, expected.values)) << which << ", precision " << precision;
                    EXPECT_TRUE(SameBits(found.vectors, expected.vectors)) << which << ", precision " << precision;
                }
            }
            // Started from the eigenvectors of a nearby matrix, as the ULS
            // finish does.
            std::vector<double> nearby = a;
            for (int i = 0; i < n; ++i) {
                nearby[static_cast<std::size_t>(i) * n + i] -= 0.3 + 0.01 * i;
            }
            const std::vector<double> start = CyclicJacobiEigen(a, n).vectors;
            const SymmetricEigenpairs expected =
                ReferenceDiagonalized(Rotated(nearby, start, n), start, n, talver::kFullPrecision);
            const SymmetricEigenpairs found = CyclicJacobiEigen(nearby, n, start);
            EXPECT_TRUE(SameBits(found.values, expected.values)) << "started";
            EXPECT_TRUE(SameBits(found.vectors, expected.vectors)) << "started";
        }
    }
}

} // namespace
