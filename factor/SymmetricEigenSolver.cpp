#include "factor/SymmetricEigenSolver.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>

namespace talver {

namespace {

// QL iterations per eigenvalue: two or three are usual, thirty is the
// classical limit; the cap only guards against arithmetic gone wrong.
constexpr int kMaxIterationsPerValue = 60;
// A sum of elements this close to 0 cannot fix an eigenvector's sign.
constexpr double kVanishingSum = 1e-10;

struct Tridiagonal {
    std::vector<double> diagonal;
    std::vector<double> offDiagonal; // offDiagonal[i] couples i - 1 and i; [0] is 0
    std::vector<double> q;           // the orthogonal reduction, row-major
};

// Householder reduction of the symmetric matrix v (row-major, lower triangle
// read) to tridiagonal form, accumulating the transformations in v (tred2).
Tridiagonal Tridiagonalized(std::vector<double> v, int n)
{
    auto at = [&v, n](int i, int j) -> double& { return v[static_cast<std::size_t>(i) * n + j]; };
    std::vector<double> d(n);
    std::vector<double> e(n, 0.0);
    for (int j = 0; j < n; ++j) {
        d[j] = at(n - 1, j);
    }
    for (int i = n - 1; i > 0; --i) {
        double scale = 0.0;
        double h = 0.0;
        for (int k = 0; k < i; ++k) {
            scale += std::fabs(d[k]);
        }
        if (scale == 0.0) {
            e[i] = d[i - 1];
            for (int j = 0; j < i; ++j) {
                d[j] = at(i - 1, j);
                at(i, j) = 0.0;
                at(j, i) = 0.0;
            }
        } else {
            // The Householder vector, scaled against overflow.
            for (int k = 0; k < i; ++k) {
                d[k] /= scale;
                h += d[k] * d[k];
            }
            double f = d[i - 1];
            double g = std::sqrt(h);
            if (f > 0.0) {
                g = -g;
            }
            e[i] = scale * g;
            h -= f * g;
            d[i - 1] = f - g;
            for (int j = 0; j < i; ++j) {
                e[j] = 0.0;
            }
            // p = A u / h, from the lower triangle.
            for (int j = 0; j < i; ++j) {
                f = d[j];
                at(j, i) = f;
                g = e[j] + at(j, j) * f;
                for (int k = j + 1; k <= i - 1; ++k) {
                    g += at(k, j) * d[k];
                    e[k] += at(k, j) * f;
                }
                e[j] = g;
            }
            f = 0.0;
            for (int j = 0; j < i; ++j) {
                e[j] /= h;
                f += e[j] * d[j];
            }
            const double hh = f / (h + h);
            for (int j = 0; j < i; ++j) {
                e[j] -= hh * d[j];
            }
            // A <- A - u q' - q u'.
            for (int j = 0; j < i; ++j) {
                f = d[j];
                g = e[j];
                for (int k = j; k <= i - 1; ++k) {
                    at(k, j) -= (f * e[k] + g * d[k]);
                }
                d[j] = at(i - 1, j);
                at(i, j) = 0.0;
            }
        }
        d[i] = h;
    }
    // Accumulates the transformations.
    for (int i = 0; i < n - 1; ++i) {
        at(n - 1, i) = at(i, i);
        at(i, i) = 1.0;
        const double h = d[i + 1];
        if (h != 0.0) {
            for (int k = 0; k <= i; ++k) {
                d[k] = at(k, i + 1) / h;
            }
            for (int j = 0; j <= i; ++j) {
                double g = 0.0;
                for (int k = 0; k <= i; ++k) {
                    g += at(k, i + 1) * at(k, j);
                }
                for (int k = 0; k <= i; ++k) {
                    at(k, j) -= g * d[k];
                }
            }
        }
        for (int k = 0; k <= i; ++k) {
            at(k, i + 1) = 0.0;
        }
    }
    for (int j = 0; j < n; ++j) {
        d[j] = at(n - 1, j);
        at(n - 1, j) = 0.0;
    }
    at(n - 1, n - 1) = 1.0;
    e[0] = 0.0;
    return {std::move(d), std::move(e), std::move(v)};
}

// x, y <- s x + c y, c x - s y, element by element.
void RotatePair(double* x, double* y, int n, double c, double s)
{
    for (int k = 0; k < n; ++k) {
        const double xk = x[k];
        const double yk = y[k];
        y[k] = s * xk + c * yk;
        x[k] = c * xk - s * yk;
    }
}

// The implicit QL method with shifts on the tridiagonal matrix (tql2). z
// holds the transposed reduction (row k is vector k), so that a rotation
// runs along two contiguous rows. False when an eigenvalue does not
// converge within the cap.
bool DiagonalizedByQl(std::vector<double>& d, std::vector<double>& e, std::vector<double>& z, int n)
{
    auto row = [&z, n](int k) { return &z[static_cast<std::size_t>(k) * n]; };
    for (int i = 1; i < n; ++i) {
        e[i - 1] = e[i];
    }
    e[n - 1] = 0.0;
    double f = 0.0;
    double largest = 0.0;
    const double eps = std::numeric_limits<double>::epsilon();
    for (int l = 0; l < n; ++l) {
        largest = std::max(largest, std::fabs(d[l]) + std::fabs(e[l]));
        int m = l;
        while (m < n - 1 && std::fabs(e[m]) > eps * largest) {
            ++m;
        }
        if (m > l) {
            int iterations = 0;
            do {
                if (++iterations > kMaxIterationsPerValue) {
                    return false;
                }
                // The shift: the eigenvalue of the leading 2 x 2 block
                // nearer to d[l] (Wilkinson's shift).
                double g = d[l];
                double p = (d[l + 1] - g) / (2.0 * e[l]);
                double r = std::hypot(p, 1.0);
                if (p < 0.0) {
                    r = -r;
                }
                d[l] = e[l] / (p + r);
                d[l + 1] = e[l] * (p + r);
                const double dl1 = d[l + 1];
                double h = g - d[l];
                for (int i = l + 2; i < n; ++i) {
                    d[i] -= h;
                }
                f += h;
                // The implicit QL sweep from m up to l.
                p = d[m];
                double c = 1.0;
                double c2 = c;
                double c3 = c;
                const double el1 = e[l + 1];
                double s = 0.0;
                double s2 = 0.0;
                for (int i = m - 1; i >= l; --i) {
                    c3 = c2;
                    c2 = c;
                    s2 = s;
                    g = c * e[i];
                    h = c * p;
                    r = std::hypot(p, e[i]);
                    e[i + 1] = s * r;
                    s = e[i] / r;
                    c = p / r;
                    p = c * d[i] - s * g;
                    d[i + 1] = h + s * (c * g + s * d[i]);
                    RotatePair(row(i), row(i + 1), n, c, s);
                }
                p = -s * s2 * c3 * el1 * e[l] / dl1;
                e[l] = s * p;
                d[l] = c * p;
            } while (std::fabs(e[l]) > eps * largest);
        }
        d[l] += f;
        e[l] = 0.0;
    }
    return true;
}

SymmetricEigenpairs NotANumber(int n)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    return {std::vector<double>(n, nan), std::vector<double>(static_cast<std::size_t>(n) * n, nan)};
}

// +1 or -1: the sign that makes the sum of the vector positive, or where
// that vanishes its largest element.
double SignOf(const double* vector, int n)
{
    double sum = 0.0;
    int largest = 0;
    for (int k = 0; k < n; ++k) {
        sum += vector[k];
        if (std::fabs(vector[k]) > std::fabs(vector[largest])) {
            largest = k;
        }
    }
    if (std::fabs(sum) > kVanishingSum) {
        return sum > 0.0 ? 1.0 : -1.0;
    }
    return vector[largest] < 0.0 ? -1.0 : 1.0;
}

} // namespace

SymmetricEigenpairs SolveSymmetricEigen(std::vector<double> a, int n)
{
    if (n <= 0) {
        return {};
    }
    for (double x : a) {
        if (!std::isfinite(x)) {
            return NotANumber(n);
        }
    }
    Tridiagonal t = Tridiagonalized(std::move(a), n);
    std::vector<double> z(static_cast<std::size_t>(n) * n);
    for (int i = 0; i < n; ++i) {
        for (int k = 0; k < n; ++k) {
            z[static_cast<std::size_t>(k) * n + i] = t.q[static_cast<std::size_t>(i) * n + k];
        }
    }
    if (!DiagonalizedByQl(t.diagonal, t.offDiagonal, z, n)) {
        return NotANumber(n);
    }

    std::vector<int> order(n);
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&t](int x, int y) { return t.diagonal[x] > t.diagonal[y]; });
    SymmetricEigenpairs result{std::vector<double>(n), std::vector<double>(static_cast<std::size_t>(n) * n)};
    for (int k = 0; k < n; ++k) {
        const double* vector = &z[static_cast<std::size_t>(order[k]) * n];
        const double sign = SignOf(vector, n);
        result.values[k] = t.diagonal[order[k]];
        for (int i = 0; i < n; ++i) {
            result.vectors[static_cast<std::size_t>(i) * n + k] = sign * vector[i];
        }
    }
    return result;
}

} // namespace talver
