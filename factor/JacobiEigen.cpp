#include "factor/JacobiEigen.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "factor/JacobiPivot.h"
#include "factor/JacobiRotation.h"
#include "factor/ShapeChecks.h"
#include "matrix/MatrixInPlace.h"

namespace talver {

namespace {

double DiagonalSumOfSquares(const Matrix* w)
{
    const int n = w->Rows();
    double sumOfSquares = 0.0;
    for (int i = 0; i < n; ++i) {
        sumOfSquares += (*w)(i, i) * (*w)(i, i);
    }
    return sumOfSquares;
}

} // namespace

long long JacobiRotationLimit(int n)
{
    // Large matrices need a few times n^2 rotations; the limit only bounds
    // input that can never meet the test (NaN, a vanishing diagonal). At
    // least 201 rotations whatever the size.
    return std::max(201LL, 50LL * n * n);
}

long long JacobiEigen(Matrix* a, Matrix* eigenvalues, Matrix* eigenvectors)
{
    RequireSquare(a);
    const int n = a->Rows();
    RequireShape(eigenvalues, n, 1);
    RequireShape(eigenvectors, n, n);
    if (n == 0) {
        return 0;
    }
    if (n == 1) {
        (*eigenvalues)(0, 0) = (*a)(0, 0);
        (*eigenvectors)(0, 0) = 1.0;
        return 0;
    }

    // The input itself is the working matrix and the caller's eigenvector
    // matrix the accumulated rotation: no temporaries, no copies.
    Matrix* w = a;
    Matrix* v = eigenvectors;
    SetIdentity(v);

    const long long limit = JacobiRotationLimit(n);
    long long rotations = 0;
    OffDiagonalMaxima maxima(w);
    OffDiagonal pivot = maxima.Largest();
    // The stopping test compares the pivot with 1e-6 times the root mean
    // square of the diagonal. A rotation changes only w[b][b] and w[d][d], so
    // the diagonal's sum of squares is at most the last one summed plus their
    // new squares; while the pivot stays above the bound of that ceiling
    // (with ample room for rounding) the test cannot hold, and the diagonal
    // is summed only when it might.
    double ceiling = DiagonalSumOfSquares(w);
    while (true) {
        const int b = pivot.row;
        const int d = pivot.col;
        JacobiRotate(w, v, b, d);
        maxima.AfterRotation(b, d);
        ++rotations;
        pivot = maxima.Largest();
        ceiling += (*w)(b, b) * (*w)(b, b) + (*w)(d, d) * (*w)(d, d);
        if (pivot.magnitude >= 1.0001e-6 * std::sqrt(ceiling / n) && pivot.magnitude != 0.0 && rotations < limit) {
            continue;
        }
        ceiling = DiagonalSumOfSquares(w);
        const double bound = 1e-6 * std::sqrt(ceiling / n);
        if (bound > pivot.magnitude) {
            break;
        }
        // Nothing left to rotate: an all-zero matrix never meets the strict
        // test (0 > 0), and further rotations with g = 0 change nothing.
        if (pivot.magnitude == 0.0) {
            break;
        }
        // A NaN on the diagonal stays there; the test can never hold again.
        if (std::isnan(bound)) {
            break;
        }
        if (rotations >= limit) {
            break;
        }
    }

    for (int i = 0; i < n; ++i) {
        (*eigenvalues)(i, 0) = (*w)(i, i);
    }
    return rotations;
}

void SortEigenDescending(Matrix* eigenvalues, Matrix* eigenvectors, int n)
{
    RequireAtLeast(eigenvalues, n, 1);
    RequireAtLeast(eigenvectors, 0, n);
    for (int i = 0; i + 1 < n; ++i) {
        int chosen = i;
        double largest = (*eigenvalues)(i, 0);
        for (int j = i + 1; j < n; ++j) {
            if ((*eigenvalues)(j, 0) >= largest) {
                chosen = j;
                largest = (*eigenvalues)(j, 0);
            }
        }
        if (chosen != i) {
            std::swap((*eigenvalues)(i, 0), (*eigenvalues)(chosen, 0));
            for (int r = 0; r < eigenvectors->Rows(); ++r) {
                std::swap((*eigenvectors)(r, i), (*eigenvectors)(r, chosen));
            }
        }
    }
}

void SymmetricEigen(const Matrix* a, Matrix* eigenvalues, Matrix* eigenvectors, int k)
{
    RequireSquare(a);
    const int n = a->Rows();
    if (k < 0 || k > n) {
        FatalMatrixError(kProductShapeError);
    }
    RequireAtLeast(eigenvalues, k, 1);
    RequireAtLeast(eigenvectors, n, k);
    if (eigenvectors->Rows() != n) {
        FatalMatrixError(kProductShapeError);
    }

    MatrixScope scope;
    Matrix* working = NewMatrix(n, n);
    for (int i = 0; i < n; ++i) {
        for (int j = 0; j < n; ++j) {
            (*working)(i, j) = (*a)(i, j);
        }
    }
    Matrix* values = NewMatrix(n, 1);
    Matrix* vectors = NewMatrix(n, n);
    JacobiEigen(working, values, vectors);
    SortEigenDescending(values, vectors, n);

    for (int j = 0; j < k; ++j) {
        (*eigenvalues)(j, 0) = (*values)(j, 0);
        for (int i = 0; i < n; ++i) {
            (*eigenvectors)(i, j) = (*vectors)(i, j);
        }
    }
}

} // namespace talver
