#include "factor/UlsExtraction.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "factor/Inverse.h"
#include "matrix/MatrixInPlace.h"
#include "factor/SymmetricEigenSolver.h"
#include "factor/UlsNewton.h"

namespace talver {

// The sweeps run thousands of times in bootstrap loops, so they work on the
// loadings in place instead of forming E, E', s_i and the residual matrix.

namespace {

// The sweeps only give the start of the finish, which needs no more than a
// rough one; the cap bounds their time on matrices with large variances.
constexpr int kStartSweeps = 200;
// Two minima whose fits differ by less than this share are the same one
// reached twice.
constexpr double kEqualMinima = 1e-9;

// Element (i, j) of lambda lambda'.
double Reproduced(const Matrix* lambda, int i, int j)
{
    const double* rowI = lambda->Row(i);
    const double* rowJ = lambda->Row(j);
    double sum = 0.0;
    for (int c = 0; c < lambda->Cols(); ++c) {
        sum += rowI[c] * rowJ[c];
    }
    return sum;
}

// s with its diagonal set to zero, as s - Diag(Diag(s)).
Matrix* OffDiagonal(const Matrix* s)
{
    const int p = s->Rows();
    Matrix* result = NewMatrix(p, p);
    for (int i = 0; i < p; ++i) {
        for (int j = 0; j < p; ++j) {
            (*result)(i, j) = (*s)(i, j) - (i == j ? (*s)(i, i) : 0.0);
        }
    }
    return result;
}

// trace(R'R) with R = sOff - (lambda lambda' - Diag(lambda lambda')): the sum
// of squared off-diagonal residuals, column by column.
double OffDiagonalResidual(const Matrix* sOff, const Matrix* lambda)
{
    const int p = sOff->Rows();
    double total = 0.0;
    for (int j = 0; j < p; ++j) {
        double column = 0.0;
        for (int k = 0; k < p; ++k) {
            const double reproduced = Reproduced(lambda, k, j);
            const double r = (*sOff)(k, j) - (reproduced - (k == j ? reproduced : 0.0));
            column += r * r;
        }
        total += column;
    }
    return total;
}

// previous' previous, the cross products of every row of the last sweep.
void CrossProductsOf(const Matrix* previous, Matrix* crossProducts)
{
    const int m = previous->Cols();
    for (int a = 0; a < m; ++a) {
        for (int b = 0; b < m; ++b) {
            double sum = 0.0;
            for (int k = 0; k < previous->Rows(); ++k) {
                sum += (*previous)(k, a) * (*previous)(k, b);
            }
            (*crossProducts)(a, b) = sum;
        }
    }
}

// Row i of the loadings regressed on the loadings of the other items in the
// last sweep (previous): h = Inverse(E'E) E' s_i, with E those loadings with
// row i zero, written to row i of lambda. E'E is the sweep's cross products
// (all) less row i's own, and E' s_i needs no zero row because the
// diagonal of sOff is 0, so a row costs O(p m) instead of O(p m^2). Every
// row of a sweep sees the same loadings, so the sweep does not depend on
// the order of the items. Non-finite loadings spread into the row as in
// the matrix products.
void UpdateRow(const Matrix* sOff, const Matrix* previous, const Matrix* all, Matrix* lambda, int i,
               Matrix* crossProducts, std::vector<double>& projections)
{
    const int p = lambda->Rows();
    const int m = lambda->Cols();
    const double* own = previous->Row(i);
    for (int a = 0; a < m; ++a) {
        for (int b = 0; b < m; ++b) {
            (*crossProducts)(a, b) = (*all)(a, b) - own[a] * own[b];
        }
    }
    std::fill(projections.begin(), projections.end(), 0.0);
    for (int k = 0; k < p; ++k) {
        const double sik = (*sOff)(k, i);
        const double* row = previous->Row(k);
        for (int a = 0; a < m; ++a) {
            projections[a] += row[a] * sik;
        }
    }

    MatrixScope scope;
    const Matrix* inverse = Inverse(crossProducts);
    double* row = lambda->Row(i);
    for (int a = 0; a < m; ++a) {
        double sum = 0.0;
        for (int b = 0; b < m; ++b) {
            sum += (*inverse)(a, b) * projections[b];
        }
        row[a] = sum;
    }
}

// The unique variances that the loadings leave, none below 0.
std::vector<double> UniqueVariancesOf(const Matrix* s, const Matrix* lambda)
{
    std::vector<double> psi(s->Rows());
    for (int i = 0; i < s->Rows(); ++i) {
        psi[i] = std::max((*s)(i, i) - Reproduced(lambda, i, i), 0.0);
    }
    return psi;
}

// The classical principal-axes start: each unique variance the part of the
// item's variance that the other items do not explain, 1 / (S^-1)_ii. Empty
// when s is singular.
std::vector<double> PrincipalAxesStart(const Matrix* s)
{
    MatrixScope scope;
    const Matrix* inverse = Inverse(s);
    std::vector<double> psi(s->Rows());
    for (int i = 0; i < s->Rows(); ++i) {
        const double unexplained = 1.0 / (*inverse)(i, i);
        if (!std::isfinite(unexplained)) {
            return {};
        }
        psi[i] = std::clamp(unexplained, 0.0, (*s)(i, i));
    }
    return psi;
}

// Whether the model leaves so few degrees of freedom, ((p - m)^2 - (p + m))
// / 2 at most p, that the residuals may have more than one minimum.
bool NearlySaturated(int p, int m)
{
    return ((p - m) * (p - m) - (p + m)) / 2 <= p;
}

// Newton steps on the unique variances from where the sweeps ended. Where
// more than one minimum is possible (a unique variance at 0, or a nearly
// saturated model), a second start that does not depend on the sweeps, the
// principal axes, is finished too, and the lower minimum kept (the first
// where both are equal to rounding). lambda is left as it was when neither
// gives finite loadings.
void Finish(const Matrix* s, Matrix* lambda)
{
    const int p = lambda->Rows();
    const int m = lambda->Cols();
    const bool nearlySaturated = NearlySaturated(p, m);
    UlsMinimum best = MinimizeOverUniqueVariances(s, m, UniqueVariancesOf(s, lambda), nearlySaturated);
    const bool atBound =
        std::isfinite(best.f) && std::any_of(best.psi.begin(), best.psi.end(), [](double v) { return v == 0.0; });
    if (atBound || nearlySaturated) {
        const std::vector<double> start = PrincipalAxesStart(s);
        if (!start.empty()) {
            UlsMinimum second = MinimizeOverUniqueVariances(s, m, start, nearlySaturated);
            if (second.f < best.f - kEqualMinima * std::fabs(best.f) || !std::isfinite(best.f)) {
                best = std::move(second);
            }
        }
    }
    if (!std::isfinite(best.f)) {
        return;
    }
    for (int i = 0; i < p; ++i) {
        for (int c = 0; c < m; ++c) {
            (*lambda)(i, c) = best.loadings[static_cast<std::size_t>(i) * m + c];
        }
    }
}

double FitStatistic(const Matrix* s, const Matrix* lambda, int n)
{
    MatrixScope scope;
    const int p = lambda->Rows();
    Matrix* h = NewMatrix(p, p);
    for (int i = 0; i < p; ++i) {
        for (int j = 0; j < p; ++j) {
            (*h)(i, j) = i == j ? 1.0 : Reproduced(lambda, i, j);
        }
    }
    const double stat = (n - 1) * (std::log(Determinant(h)) - std::log(Determinant(s)));
    return stat < 0.0 ? 0.0 : stat;
}

} // namespace

void ExtractUls(const Matrix* s, int m, float tolerance, int n, Matrix* loadings, double& stat)
{
    MatrixScope scope;
    const int p = s->Rows();
    // The principal components of s: its leading eigenvectors times the
    // roots of their eigenvalues.
    std::vector<double> values = s->Elements();
    const SymmetricEigenpairs components = SolveLeadingSymmetricEigen(std::move(values), p, m);
    Matrix* lambda = NewMatrix(p, m);
    for (int i = 0; i < p; ++i) {
        for (int c = 0; c < m; ++c) {
            (*lambda)(i, c) = components.vectors[static_cast<std::size_t>(i) * m + c] *
                              std::sqrt(std::max(components.values[c], 0.0));
        }
    }

    const Matrix* sOff = OffDiagonal(s);
    Matrix* all = NewMatrix(m, m);
    Matrix* crossProducts = NewMatrix(m, m);
    std::vector<double> projections(m);
    double current = OffDiagonalResidual(sOff, lambda);
    // Taking the previous value as twice the current one enters the sweeps
    // only when the start itself is above the tolerance. A rise of the
    // residual ends the sweeps, and so does a non-finite one (from a singular
    // E'E): every comparison with NaN is false.
    double previous = 2.0 * current;
    Matrix* last = NewMatrix(p, m);
    for (int sweep = 0; sweep < kStartSweeps && previous - current > tolerance; ++sweep) {
        CopyValues(lambda, last);
        CrossProductsOf(last, all);
        for (int i = 0; i < p; ++i) {
            UpdateRow(sOff, last, all, lambda, i, crossProducts, projections);
        }
        previous = current;
        current = OffDiagonalResidual(sOff, lambda);
        // Simultaneous updates can overshoot: a sweep that raised the
        // residual is taken back.
        if (current > previous) {
            CopyValues(last, lambda);
            current = previous;
            break;
        }
    }

    // The sweeps stop on an absolute gain, far from the minimum where the
    // variances are large and long before it where they crawl: Newton steps
    // on the unique variances finish the fit whatever the scale of s.
    if (std::isfinite(current)) {
        Finish(s, lambda);
    }
    for (int i = 0; i < p; ++i) {
        for (int c = 0; c < m; ++c) {
            (*loadings)(i, c) = (*lambda)(i, c);
        }
    }
    if (n > 0) {
        stat = FitStatistic(s, lambda, n);
    }
}

} // namespace talver
