#include "factor/Varimax.h"

#include <cmath>
#include <vector>

#include "matrix/MatrixInPlace.h"
#include "matrix/MatrixOps.h"
#include "stats/RandomMatrix.h"

namespace talver {

// The rotation works in place on a p x m and an m x m buffer reused by every
// start; sums run in the order of the matrix operations they stand for
// (Product, RowsNormalized, ColumnMeans, SumOfSquares), so the values are
// theirs bit for bit.

namespace {

// Below this the criterion of a column pair does not depend on the angle.
constexpr double kDegeneratePair = 1e-11;

// Gram-Schmidt on the columns in order: each column loses its projection on
// every earlier (unit) column, one after the other, then is scaled to unit
// length.
void OrthonormalizeColumns(Matrix* q)
{
    const int m = q->Rows();
    for (int i = 0; i < q->Cols(); ++i) {
        for (int j = 0; j < i; ++j) {
            double projection = 0.0;
            for (int k = 0; k < m; ++k) {
                projection += (*q)(k, i) * (*q)(k, j);
            }
            for (int k = 0; k < m; ++k) {
                (*q)(k, i) = (*q)(k, i) - projection * (*q)(k, j);
            }
        }
        double squares = 0.0;
        for (int k = 0; k < m; ++k) {
            squares += (*q)(k, i) * (*q)(k, i);
        }
        const double length = std::sqrt(squares);
        for (int k = 0; k < m; ++k) {
            (*q)(k, i) = (*q)(k, i) / length;
        }
    }
}

// r = A Q, each row scaled to unit length when normalising.
void RotatedLoadings(const Matrix* a, const Matrix* q, bool normalize, Matrix* r)
{
    const int m = a->Cols();
    for (int i = 0; i < a->Rows(); ++i) {
        double* row = r->Row(i);
        for (int c = 0; c < m; ++c) {
            double sum = 0.0;
            for (int k = 0; k < m; ++k) {
                sum += (*a)(i, k) * (*q)(k, c);
            }
            row[c] = sum;
        }
        if (normalize) {
            double squares = 0.0;
            for (int c = 0; c < m; ++c) {
                squares += row[c] * row[c];
            }
            const double factor = squares > 0.0 ? 1.0 / std::sqrt(squares) : 0.0;
            for (int c = 0; c < m; ++c) {
                row[c] = factor * row[c];
            }
        }
    }
}

// Sum over columns of the squared deviations of the squared loadings from
// their column mean.
double Criterion(const Matrix* r)
{
    const int p = r->Rows();
    double total = 0.0;
    for (int c = 0; c < r->Cols(); ++c) {
        double sum = 0.0;
        for (int i = 0; i < p; ++i) {
            sum += (*r)(i, c) * (*r)(i, c);
        }
        const double mean = sum / p;
        double deviations = 0.0;
        for (int i = 0; i < p; ++i) {
            const double deviation = (*r)(i, c) * (*r)(i, c) - mean;
            deviations += deviation * deviation;
        }
        total += deviations;
    }
    return total;
}

// Rotates columns j and k of x by the coefficients of one pair step. A
// negative tau interchanges the two results.
void RotateColumns(Matrix* x, int j, int k, double tau, double cc, double cs)
{
    for (int i = 0; i < x->Rows(); ++i) {
        const double first = (*x)(i, j) * cc - (*x)(i, k) * cs;
        const double second = (*x)(i, k) * cc + (*x)(i, j) * cs;
        (*x)(i, tau >= 0.0 ? j : k) = first;
        (*x)(i, tau >= 0.0 ? k : j) = second;
    }
}

// Working storage of one rotation.
struct Workspace {
    Matrix* r;             // p x m rotated (normalised) loadings
    Matrix* q;             // m x m orientation of the current start
    std::vector<double> u; // p, centred x^2 - y^2 of a pair
    std::vector<double> v; // p, centred 2xy of a pair
};

// The Varimax step for columns j and k of r, applied to r and q without
// trigonometric functions: tau = -sign(t) cos(2 phi) for the angle phi whose
// 4 phi has cosine o / mm and sine t / mm. False when the pair abandons the
// rotation: mm too small to define the angle, or not finite (non-finite
// loadings would otherwise never let the sweeps converge).
bool RotatePair(Workspace& work, int j, int k)
{
    const Matrix* r = work.r;
    const int p = r->Rows();
    double sumU = 0.0;
    double sumV = 0.0;
    for (int i = 0; i < p; ++i) {
        const double x = (*r)(i, j);
        const double y = (*r)(i, k);
        work.u[i] = x * x - y * y;
        work.v[i] = 2.0 * x * y;
        sumU += work.u[i];
        sumV += work.v[i];
    }
    const double meanU = sumU / p;
    const double meanV = sumV / p;
    double squaresU = 0.0;
    double squaresV = 0.0;
    double products = 0.0;
    for (int i = 0; i < p; ++i) {
        const double u = work.u[i] - meanU;
        const double v = work.v[i] - meanV;
        squaresU += u * u;
        squaresV += v * v;
        products += u * v;
    }
    const double o = squaresU - squaresV;
    const double t = 2.0 * products;
    const double mm = std::sqrt(o * o + t * t);
    if (!std::isfinite(mm) || mm < kDegeneratePair) {
        return false;
    }
    const double sign = t >= 0.0 ? 1.0 : -1.0;
    const double tau = -sign * std::sqrt((o + mm) / (2.0 * mm));
    const double cs = std::sqrt((1.0 - tau) / 2.0);
    const double cc = std::sqrt((1.0 + tau) / 2.0);
    RotateColumns(work.r, j, k, tau, cc, cs);
    RotateColumns(work.q, j, k, tau, cc, cs);
    return true;
}

// Sweeps from the orientation in work.q until the criterion settles; false
// when the rotation is to be abandoned, including a non-finite criterion.
bool RotateFromStart(const Matrix* a, bool normalize, double tolerance, Workspace& work,
                     double& criterion)
{
    const int m = a->Cols();
    RotatedLoadings(a, work.q, normalize, work.r);
    double before = Criterion(work.r);
    if (!std::isfinite(before)) {
        return false;
    }
    for (;;) {
        for (int j = 0; j < m - 1; ++j) {
            for (int k = j + 1; k < m; ++k) {
                if (!RotatePair(work, j, k)) {
                    return false;
                }
            }
        }
        const double after = Criterion(work.r);
        if (!std::isfinite(after)) {
            return false;
        }
        if (tolerance * after >= after - before) {
            criterion = after;
            return true;
        }
        before = after;
    }
}

// Negates each column of t whose column sum of A t is negative.
void ReflectColumns(const Matrix* a, Matrix* t)
{
    const int m = a->Cols();
    for (int c = 0; c < m; ++c) {
        double sum = 0.0;
        for (int i = 0; i < a->Rows(); ++i) {
            double element = 0.0;
            for (int k = 0; k < m; ++k) {
                element += (*a)(i, k) * (*t)(k, c);
            }
            sum += element;
        }
        if (sum < 0.0) {
            for (int k = 0; k < m; ++k) {
                (*t)(k, c) = -(*t)(k, c);
            }
        }
    }
}

} // namespace

Matrix* VarimaxRotation(const Matrix* a, double tolerance, double& criterion, int randomStarts,
                        int normalize, RandomSource& random)
{
    const int p = a->Rows();
    const int m = a->Cols();
    Matrix* result = NewMatrix(m, m);
    MatrixScope scope;
    Workspace work{NewMatrix(p, m), NewMatrix(m, m), std::vector<double>(p),
                   std::vector<double>(p)};
    double best = 0.0;
    for (int start = 0; start <= randomStarts; ++start) {
        MatrixScope startScope;
        if (start == 0) {
            SetIdentity(work.q);
        } else {
            CopyValues(RandomMatrix(m, m, random), work.q);
            OrthonormalizeColumns(work.q);
        }
        double reached = 0.0;
        if (!RotateFromStart(a, normalize != 0, tolerance, work, reached)) {
            SetIdentity(result);
            criterion = 0.0;
            return result;
        }
        if (start == 0 || reached > best) {
            best = reached;
            CopyValues(work.q, result);
        }
    }
    criterion = best;
    ReflectColumns(a, result);
    return result;
}

} // namespace talver
