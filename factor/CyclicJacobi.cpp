#include "factor/CyclicJacobi.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <numeric>

namespace talver {

namespace {

// Convergence within double precision takes 6 to 10 sweeps on the matrices
// met here; the cap only guards against values that are not numbers.
constexpr int kMaxSweeps = 100;

// x, y <- c x - s y, s x + c y, element by element: one loop the compiler
// can vectorise without changing a bit (the same products and sums per
// element, never fused). The AVX2 copy is chosen at load time through the
// GNU C library's indirect functions, so only there; elsewhere (Windows,
// ARM, the browser, other C libraries) the portable loop runs.
#if defined(__x86_64__) && defined(__GNUC__) && defined(__GLIBC__)
__attribute__((target_clones("avx2", "default")))
#endif
void RotatePair(double* x, double* y, int n, double c, double s)
{
    for (int k = 0; k < n; ++k) {
        const double xk = x[k];
        const double yk = y[k];
        x[k] = c * xk - s * yk;
        y[k] = s * xk + c * yk;
    }
}

// Whether a equals its transpose bit for bit.
bool ExactlySymmetric(const std::vector<double>& a, int n)
{
    for (int i = 0; i < n; ++i) {
        for (int j = 0; j < i; ++j) {
            if (std::memcmp(&a[static_cast<std::size_t>(i) * n + j], &a[static_cast<std::size_t>(j) * n + i],
                            sizeof(double)) != 0) {
                return false;
            }
        }
    }
    return true;
}

// Rotates a to diagonal form, accumulating the rotations into the rows of
// vt (the transposed eigenvectors: row k is vector k). a is exactly
// symmetric, so a rotation reads and writes rows p and q, which are
// contiguous, and then copies row q into column q; every element gets the
// same expression as in the textbook loop over columns.
SymmetricEigenpairs Diagonalized(std::vector<double> a, std::vector<double> vt, int n, double precision)
{
    auto at = [n](std::vector<double>& m, int i, int j) -> double& { return m[static_cast<std::size_t>(i) * n + j]; };
    double largest = 0.0;
    for (double x : a) {
        if (!std::isfinite(x)) {
            // Rotations would hide the values that are not numbers.
            const double nan = std::numeric_limits<double>::quiet_NaN();
            return {std::vector<double>(n, nan), std::vector<double>(static_cast<std::size_t>(n) * n, nan)};
        }
        largest = std::max(largest, std::fabs(x));
    }
    const double negligible = precision * largest;
    // A product like D S D is symmetric only up to rounding. Until a
    // rotation has written an element, its two triangles may differ, and the
    // textbook loops read it from column p or q: rows p and q take those
    // values before their first rotation. Once every row has been rotated,
    // a is exactly symmetric.
    std::vector<char> rowRotated(n, 1);
    int unrotatedRows = 0;
    if (!ExactlySymmetric(a, n)) {
        std::fill(rowRotated.begin(), rowRotated.end(), 0);
        unrotatedRows = n;
    }
    auto takeColumn = [&](int row) {
        if (rowRotated[row]) {
            return;
        }
        for (int k = 0; k < n; ++k) {
            if (!rowRotated[k]) {
                at(a, row, k) = at(a, k, row);
            }
        }
        rowRotated[row] = 1;
        --unrotatedRows;
    };
    for (int sweep = 0; sweep < kMaxSweeps; ++sweep) {
        bool rotated = false;
        for (int p = 0; p < n - 1; ++p) {
            for (int q = p + 1; q < n; ++q) {
                const double apq = at(a, p, q);
                const double app = at(a, p, p);
                const double aqq = at(a, q, q);
                // Negligible next to the largest element: the eigenvectors
                // are then exact to about that share of the matrix's size,
                // and no rotation can improve on rounding.
                if (!(std::fabs(apq) > negligible)) {
                    at(a, p, q) = at(a, q, p) = 0.0;
                    continue;
                }
                rotated = true;
                const double theta = (aqq - app) / (2.0 * apq);
                const double t = (theta >= 0.0 ? 1.0 : -1.0) / (std::fabs(theta) + std::sqrt(theta * theta + 1.0));
                const double c = 1.0 / std::sqrt(t * t + 1.0);
                const double s = t * c;
                // The rotation J' a J in the form of Numerical Recipes
                // (section 11.1). Elements p and q of the two rows get
                // their values after the loop.
                double* rowP = &at(a, p, 0);
                double* rowQ = &at(a, q, 0);
                if (unrotatedRows > 0) {
                    takeColumn(p);
                    takeColumn(q);
                }
                RotatePair(rowP, rowQ, n, c, s);
                rowP[p] = app - t * apq;
                rowQ[q] = aqq + t * apq;
                rowP[q] = rowQ[p] = 0.0;
                for (int k = 0; k < n; ++k) {
                    if (k != p && k != q) {
                        at(a, k, q) = rowQ[k];
                    }
                }
                RotatePair(&at(vt, p, 0), &at(vt, q, 0), n, c, s);
            }
            // Column p is copied from row p once, after its last rotation
            // of the sweep: until then no rotation reads it (rotation (p, q)
            // reads rows p and q, and the element of row q in column p is
            // given its value, not rotated).
            const double* rowP = &at(a, p, 0);
            for (int k = 0; k < n; ++k) {
                if (k != p) {
                    at(a, k, p) = rowP[k];
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
        const double* vector = &at(vt, order[k], 0);
        for (int i = 0; i < n; ++i) {
            result.vectors[static_cast<std::size_t>(i) * n + k] = vector[i];
        }
    }
    return result;
}

} // namespace

SymmetricEigenpairs CyclicJacobiEigen(std::vector<double> a, int n, double precision)
{
    std::vector<double> v(static_cast<std::size_t>(n) * n, 0.0);
    for (int i = 0; i < n; ++i) {
        v[static_cast<std::size_t>(i) * n + i] = 1.0;
    }
    return Diagonalized(std::move(a), std::move(v), n, precision);
}

SymmetricEigenpairs CyclicJacobiEigen(const std::vector<double>& a, int n, const std::vector<double>& start)
{
    const auto index = [n](int i, int j) { return static_cast<std::size_t>(i) * n + j; };
    std::vector<double> av(static_cast<std::size_t>(n) * n, 0.0);
    for (int i = 0; i < n; ++i) {
        for (int k = 0; k < n; ++k) {
            const double aik = a[index(i, k)];
            for (int j = 0; j < n; ++j) {
                av[index(i, j)] += aik * start[index(k, j)];
            }
        }
    }
    std::vector<double> rotated(static_cast<std::size_t>(n) * n, 0.0);
    for (int k = 0; k < n; ++k) {
        for (int i = 0; i < n; ++i) {
            const double vki = start[index(k, i)];
            for (int j = 0; j < n; ++j) {
                rotated[index(i, j)] += vki * av[index(k, j)];
            }
        }
    }
    // Exactly symmetric, as the rotations expect.
    for (int i = 0; i < n; ++i) {
        for (int j = 0; j < i; ++j) {
            rotated[index(i, j)] = rotated[index(j, i)] = 0.5 * (rotated[index(i, j)] + rotated[index(j, i)]);
        }
    }
    std::vector<double> startTransposed(static_cast<std::size_t>(n) * n);
    for (int i = 0; i < n; ++i) {
        for (int j = 0; j < n; ++j) {
            startTransposed[index(j, i)] = start[index(i, j)];
        }
    }
    return Diagonalized(std::move(rotated), std::move(startTransposed), n, kFullPrecision);
}

} // namespace talver
