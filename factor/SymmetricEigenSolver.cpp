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
// Magnitudes whose squares neither underflow to subnormals nor overflow.
constexpr double kSquareUnderflows = 1e-150;
constexpr double kSquareOverflows = 1e150;

struct Tridiagonal {
    std::vector<double> diagonal;
    std::vector<double> offDiagonal; // offDiagonal[i] couples i - 1 and i; [0] is 0
    std::vector<double> q;           // the orthogonal reduction, transposed: row k holds column k
};

// Householder reduction of the symmetric matrix v (row-major, lower triangle
// read) to tridiagonal form (the first part of tred2). Leaves the diagonal in
// the diagonal of v, the off-diagonal in e (e[i] couples i - 1 and i), and
// the Householder vector of step i in column i of v above the diagonal with
// its h in d[i] (0 where the step had nothing to do).
void Reduce(std::vector<double>& v, std::vector<double>& d, std::vector<double>& e, int n)
{
    auto at = [&v, n](int i, int j) -> double& { return v[static_cast<std::size_t>(j) * n + i]; };
    // The caller's lower triangle becomes the upper one, where the column
    // loops below run along memory.
    for (int i = 1; i < n; ++i) {
        for (int j = 0; j < i; ++j) {
            v[static_cast<std::size_t>(j) * n + i] = v[static_cast<std::size_t>(i) * n + j];
        }
    }
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
}

// The reduction with its transformations accumulated in v (tred2).
Tridiagonal Tridiagonalized(std::vector<double> v, int n)
{
    auto at = [&v, n](int i, int j) -> double& { return v[static_cast<std::size_t>(j) * n + i]; };
    std::vector<double> d(n);
    std::vector<double> e(n, 0.0);
    Reduce(v, d, e, n);
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

// sqrt(a^2 + b^2) for the rotations of the QL method (EISPACK's pythag):
// the plain formula wherever both squares are representable, as they are in
// every fit, and scaled by the larger magnitude outside that range.
// std::hypot takes care over the last bit at several times the cost (a
// quarter of a ten-item job), and that bit differs between C libraries,
// whereas products, sums and square roots are the same on every IEEE
// machine.
double Hypotenuse(double a, double b)
{
    const double x = std::fabs(a);
    const double y = std::fabs(b);
    if (std::isnan(x) || std::isnan(y)) {
        return std::numeric_limits<double>::quiet_NaN();
    }
    const double larger = std::max(x, y);
    if (larger > kSquareUnderflows && larger < kSquareOverflows) {
        return std::sqrt(x * x + y * y);
    }
    if (larger == 0.0 || std::isinf(larger)) {
        return larger;
    }
    const double ratio = std::min(x, y) / larger;
    return larger * std::sqrt(1.0 + ratio * ratio);
}

// The implicit QL method with shifts on the tridiagonal matrix (tql2). z
// holds the transposed reduction (row k is vector k), so that a rotation
// runs along two contiguous rows; an empty z asks for the eigenvalues alone
// (tql1), the very same values. False when an eigenvalue does not converge
// within the cap.
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
                double r = Hypotenuse(p, 1.0);
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
                    r = Hypotenuse(p, e[i]);
                    e[i + 1] = s * r;
                    s = e[i] / r;
                    c = p / r;
                    p = c * d[i] - s * g;
                    d[i + 1] = h + s * (c * g + s * d[i]);
                    if (!z.empty()) {
                        RotatePair(row(i), row(i + 1), n, c, s);
                    }
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

// The tridiagonal matrix T - shift I factored by Gaussian elimination with
// row interchanges, as inverse iteration needs it (Peters and Wilkinson's
// tinvit, Handbook for Automatic Computation II/18): row i of the upper
// factor holds pivot[i], first[i] and second[i] on columns i, i + 1 and
// i + 2; multiplier[i] and swapped[i] record how row i was eliminated.
struct ShiftedFactors {
    std::vector<double> pivot, first, second, multiplier;
    std::vector<char> swapped;
};

// diagonal[i] and offDiagonal[i] (coupling i - 1 and i, [0] unused); a pivot
// of 0 becomes tiny, which makes the factor of an exact eigenvalue usable.
ShiftedFactors Factored(const std::vector<double>& diagonal, const std::vector<double>& offDiagonal, double shift,
                        double tiny, int n)
{
    ShiftedFactors f{std::vector<double>(n), std::vector<double>(n, 0.0), std::vector<double>(n, 0.0),
                     std::vector<double>(n, 0.0), std::vector<char>(n, 0)};
    double u = diagonal[0] - shift;
    double v = n > 1 ? offDiagonal[1] : 0.0;
    for (int i = 1; i < n; ++i) {
        const double below = offDiagonal[i];
        const double next = i + 1 < n ? offDiagonal[i + 1] : 0.0;
        if (std::fabs(below) >= std::fabs(u)) {
            // Row i becomes the pivot row of column i - 1.
            const double x = u / below;
            f.multiplier[i] = x;
            f.swapped[i] = 1;
            f.pivot[i - 1] = below;
            f.first[i - 1] = diagonal[i] - shift;
            f.second[i - 1] = next;
            u = v - x * f.first[i - 1];
            v = -x * next;
        } else {
            const double x = below / u;
            f.multiplier[i] = x;
            f.pivot[i - 1] = u;
            f.first[i - 1] = v;
            u = diagonal[i] - shift - x * v;
            v = next;
        }
        if (f.pivot[i - 1] == 0.0) {
            f.pivot[i - 1] = tiny;
        }
    }
    f.pivot[n - 1] = u == 0.0 ? tiny : u;
    return f;
}

// x <- U^-1 x, and with the lower factor first, x <- U^-1 L^-1 x.
void SolveFactored(const ShiftedFactors& f, std::vector<double>& x, bool withLower, int n)
{
    if (withLower) {
        double pending = x[0];
        for (int i = 1; i < n; ++i) {
            if (f.swapped[i]) {
                x[i - 1] = x[i];
                pending -= f.multiplier[i] * x[i];
            } else {
                x[i - 1] = pending;
                pending = x[i] - f.multiplier[i] * pending;
            }
        }
        x[n - 1] = pending;
    }
    for (int i = n - 1; i >= 0; --i) {
        double sum = x[i];
        if (i + 1 < n) {
            sum -= f.first[i] * x[i + 1];
        }
        if (i + 2 < n) {
            sum -= f.second[i] * x[i + 2];
        }
        x[i] = sum / f.pivot[i];
    }
}

double Dot(const std::vector<double>& x, const std::vector<double>& y)
{
    double sum = 0.0;
    for (std::size_t k = 0; k < x.size(); ++k) {
        sum += x[k] * y[k];
    }
    return sum;
}

// Where the tridiagonal matrix falls apart into blocks (an off-diagonal
// element exactly 0, as the reduction leaves it for items uncorrelated with
// the rest), an eigenvector lies in one block: the elements outside the
// block of the largest one are rounding noise of the solves and set to 0,
// as the full decomposition has them.
void KeepLargestBlock(const std::vector<double>& offDiagonal, std::vector<double>& x, int n)
{
    int largest = 0;
    for (int k = 1; k < n; ++k) {
        if (std::fabs(x[k]) > std::fabs(x[largest])) {
            largest = k;
        }
    }
    int first = largest;
    while (first > 0 && offDiagonal[first] != 0.0) {
        --first;
    }
    int last = largest;
    while (last + 1 < n && offDiagonal[last + 1] != 0.0) {
        ++last;
    }
    for (int k = 0; k < n; ++k) {
        if (k < first || k > last) {
            x[k] = 0.0;
        }
    }
}

// Eigenvectors of the tridiagonal matrix for the given eigenvalues
// (descending) by inverse iteration, after tinvit: values closer than a
// thousandth of the matrix's norm form a group whose shifts are kept apart
// by at least the rounding of the norm and whose vectors are orthogonalised
// against the group's earlier ones. Each vector has unit length. Empty when
// a vector does not pass the residual and orthogonality checks, so that the
// caller can fall back to the full decomposition.
std::vector<std::vector<double>> TridiagonalVectors(const std::vector<double>& diagonal,
                                                    const std::vector<double>& offDiagonal,
                                                    const std::vector<double>& values, int n)
{
    constexpr int kMaxIterations = 5;
    double norm = 0.0;
    for (int i = 0; i < n; ++i) {
        norm = std::max(norm, std::fabs(diagonal[i]) + std::fabs(offDiagonal[i]) +
                                  (i + 1 < n ? std::fabs(offDiagonal[i + 1]) : 0.0));
    }
    const double eps = std::numeric_limits<double>::epsilon();
    const double tiny = norm > 0.0 ? eps * norm : eps;
    const double grouped = 1e-3 * norm;
    const double start = n * tiny;
    std::vector<std::vector<double>> vectors;
    int groupStart = 0;
    double previousShift = 0.0;
    for (std::size_t j = 0; j < values.size(); ++j) {
        double shift = values[j];
        if (j > 0 && values[j - 1] - shift <= grouped) {
            shift = std::min(shift, previousShift - tiny);
        } else {
            groupStart = static_cast<int>(j);
        }
        previousShift = shift;
        const ShiftedFactors factors = Factored(diagonal, offDiagonal, shift, tiny, n);
        std::vector<double> x(n, start);
        bool grown = false;
        for (int iteration = 0; iteration < kMaxIterations && !grown; ++iteration) {
            SolveFactored(factors, x, iteration > 0, n);
            for (int g = groupStart; g < static_cast<int>(j); ++g) {
                const double overlap = Dot(x, vectors[g]);
                for (int k = 0; k < n; ++k) {
                    x[k] -= overlap * vectors[g][k];
                }
            }
            double size = 0.0;
            for (double xk : x) {
                size += std::fabs(xk);
            }
            grown = size >= 1.0;
            if (!grown) {
                const double rescale = size > 0.0 ? start / size : 0.0;
                for (double& xk : x) {
                    xk = size > 0.0 ? xk * rescale : start;
                }
            }
        }
        KeepLargestBlock(offDiagonal, x, n);
        const double length = std::sqrt(Dot(x, x));
        if (!grown || !(length > 0.0) || !std::isfinite(length)) {
            return {};
        }
        for (double& xk : x) {
            xk /= length;
        }
        vectors.push_back(std::move(x));
    }
    // Checks: T x - value x small against the norm, the vectors orthogonal.
    const double allowed = 1e-10;
    for (std::size_t j = 0; j < vectors.size(); ++j) {
        const std::vector<double>& x = vectors[j];
        double residual = 0.0;
        for (int i = 0; i < n; ++i) {
            double t = (diagonal[i] - values[j]) * x[i];
            if (i > 0) {
                t += offDiagonal[i] * x[i - 1];
            }
            if (i + 1 < n) {
                t += offDiagonal[i + 1] * x[i + 1];
            }
            residual = std::max(residual, std::fabs(t));
        }
        if (!(residual <= allowed * std::max(norm, 1e-300))) {
            return {};
        }
        for (std::size_t g = 0; g < j; ++g) {
            if (!(std::fabs(Dot(x, vectors[g])) <= allowed)) {
                return {};
            }
        }
    }
    return vectors;
}

// x <- Q x, Q the accumulated reduction of Reduce: the Householder steps
// applied in the order in which tred2 accumulates them.
void BackTransformed(const std::vector<double>& v, const std::vector<double>& h, std::vector<double>& x, int n)
{
    for (int i = 0; i < n - 1; ++i) {
        const double hi = h[i + 1];
        if (hi == 0.0) {
            continue;
        }
        double g = 0.0;
        const double* u = &v[static_cast<std::size_t>(i + 1) * n];
        for (int k = 0; k <= i; ++k) {
            g += u[k] * x[k];
        }
        for (int k = 0; k <= i; ++k) {
            x[k] -= g * (u[k] / hi);
        }
    }
}

SymmetricEigenpairs NotANumber(int n, int count)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    return {std::vector<double>(n, nan), std::vector<double>(static_cast<std::size_t>(n) * count, nan)};
}

bool AllFinite(const std::vector<double>& a)
{
    return std::all_of(a.begin(), a.end(), [](double x) { return std::isfinite(x); });
}

// Indices of the values, descending; of equal values the first stays first.
std::vector<int> DescendingOrder(const std::vector<double>& values)
{
    std::vector<int> order(values.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&values](int x, int y) { return values[x] > values[y]; });
    return order;
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
    if (!AllFinite(a)) {
        return NotANumber(n, n);
    }
    Tridiagonal t = Tridiagonalized(std::move(a), n);
    std::vector<double>& z = t.q;
    if (!DiagonalizedByQl(t.diagonal, t.offDiagonal, z, n)) {
        return NotANumber(n, n);
    }

    const std::vector<int> order = DescendingOrder(t.diagonal);
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

SymmetricEigenpairs SolveLeadingSymmetricEigen(std::vector<double> a, int n, int count)
{
    if (n <= 0) {
        return {};
    }
    if (!AllFinite(a)) {
        return NotANumber(n, count);
    }
    if (count == n) {
        return SolveSymmetricEigen(std::move(a), n);
    }
    std::vector<double> original = a;
    std::vector<double> h(n);
    std::vector<double> offDiagonal(n, 0.0);
    Reduce(a, h, offDiagonal, n);
    std::vector<double> diagonal(n);
    for (int i = 0; i < n; ++i) {
        diagonal[i] = a[static_cast<std::size_t>(i) * n + i];
    }
    // The QL method works on copies: inverse iteration needs T itself.
    std::vector<double> values = diagonal;
    std::vector<double> shifted = offDiagonal;
    std::vector<double> none;
    if (!DiagonalizedByQl(values, shifted, none, n)) {
        return NotANumber(n, count);
    }
    const std::vector<int> order = DescendingOrder(values);
    SymmetricEigenpairs result{std::vector<double>(n), std::vector<double>(static_cast<std::size_t>(n) * count)};
    for (int k = 0; k < n; ++k) {
        result.values[k] = values[order[k]];
    }
    const std::vector<double> wanted(result.values.begin(), result.values.begin() + count);
    std::vector<std::vector<double>> vectors = TridiagonalVectors(diagonal, offDiagonal, wanted, n);
    if (vectors.empty() && count > 0) {
        // Inverse iteration could not separate them: the full decomposition.
        SymmetricEigenpairs full = SolveSymmetricEigen(std::move(original), n);
        for (int i = 0; i < n; ++i) {
            for (int k = 0; k < count; ++k) {
                result.vectors[static_cast<std::size_t>(i) * count + k] = full.vectors[static_cast<std::size_t>(i) * n + k];
            }
        }
        return result;
    }
    for (int k = 0; k < count; ++k) {
        std::vector<double>& x = vectors[k];
        BackTransformed(a, h, x, n);
        const double sign = SignOf(x.data(), n);
        for (int i = 0; i < n; ++i) {
            result.vectors[static_cast<std::size_t>(i) * count + k] = sign * x[i];
        }
    }
    return result;
}

} // namespace talver
