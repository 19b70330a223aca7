#include "factor/UlsExtraction.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "factor/Inverse.h"
#include "factor/SymmetricEigenSolver.h"
#include "factor/UlsNewton.h"

namespace talver {

// The sweeps run thousands of times in bootstrap loops, so they work on the
// loadings in place instead of forming E, E', s_i and the residual matrix.
// Every sum is accumulated in the order Product and Trace use, so the values
// are those of the matrix formulas bit for bit.

namespace {

// The sweeps only give the start of the finish, which needs no more than a
// rough one; the cap bounds their time on matrices with large variances.
constexpr int kStartSweeps = 200;

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

// Row i of the loadings regressed on the loadings of the other items:
// h = Inverse(E'E) E' s_i, with E the loadings whose row i is zero. The
// zero row takes part in the sums, so non-finite values spread as in the
// matrix products.
void UpdateRow(const Matrix* sOff, Matrix* lambda, int i, Matrix* crossProducts,
               std::vector<double>& coefficients)
{
    const int p = lambda->Rows();
    const int m = lambda->Cols();
    auto e = [lambda, i](int k, int c) { return k == i ? 0.0 : (*lambda)(k, c); };

    for (int a = 0; a < m; ++a) {
        for (int b = 0; b < m; ++b) {
            double sum = 0.0;
            for (int k = 0; k < p; ++k) {
                sum += e(k, a) * e(k, b);
            }
            (*crossProducts)(a, b) = sum;
        }
    }

    MatrixScope scope;
    const Matrix* inverse = Inverse(crossProducts);
    for (int a = 0; a < m; ++a) {
        // (Inverse(E'E) E') s_i, left to right.
        double sum = 0.0;
        for (int k = 0; k < p; ++k) {
            double projection = 0.0;
            for (int b = 0; b < m; ++b) {
                projection += (*inverse)(a, b) * e(k, b);
            }
            sum += projection * (*sOff)(k, i);
        }
        coefficients[a] = sum;
    }
    // Written at once: the items after i in this sweep see the new row.
    double* row = lambda->Row(i);
    for (int a = 0; a < m; ++a) {
        row[a] = coefficients[a];
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
    std::vector<double> values(static_cast<std::size_t>(p) * p);
    for (int i = 0; i < p; ++i) {
        for (int j = 0; j < p; ++j) {
            values[static_cast<std::size_t>(i) * p + j] = (*s)(i, j);
        }
    }
    const SymmetricEigenpairs components = SolveSymmetricEigen(std::move(values), p);
    Matrix* lambda = NewMatrix(p, m);
    for (int i = 0; i < p; ++i) {
        for (int c = 0; c < m; ++c) {
            (*lambda)(i, c) = components.vectors[static_cast<std::size_t>(i) * p + c] *
                              std::sqrt(std::max(components.values[c], 0.0));
        }
    }

    const Matrix* sOff = OffDiagonal(s);
    Matrix* crossProducts = NewMatrix(m, m);
    std::vector<double> coefficients(m);
    double current = OffDiagonalResidual(sOff, lambda);
    // Taking the previous value as twice the current one enters the sweeps
    // only when the start itself is above the tolerance. A rise of the
    // residual ends the sweeps, and so does a non-finite one (from a singular
    // E'E): every comparison with NaN is false.
    double previous = 2.0 * current;
    for (int sweep = 0; sweep < kStartSweeps && previous - current > tolerance; ++sweep) {
        for (int i = 0; i < p; ++i) {
            UpdateRow(sOff, lambda, i, crossProducts, coefficients);
        }
        previous = current;
        current = OffDiagonalResidual(sOff, lambda);
    }

    // The sweeps stop on an absolute gain, far from the minimum where the
    // variances are large and long before it where they crawl: Newton steps
    // on the unique variances finish the fit whatever the scale of s.
    if (std::isfinite(current)) {
        FinishUlsByNewton(s, lambda);
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
