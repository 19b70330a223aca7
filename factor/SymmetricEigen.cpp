#include "factor/SymmetricEigen.h"

#include <utility>
#include <vector>

#include "factor/ShapeChecks.h"
#include "factor/SymmetricEigenSolver.h"
#include "matrix/MatrixInPlace.h"

namespace talver {

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

    std::vector<double> elements = a->Elements();
    const SymmetricEigenpairs pairs = SolveSymmetricEigen(std::move(elements), n);

    MatrixScope scope;
    Matrix* values = NewMatrix(n, 1);
    Matrix* vectors = NewMatrix(n, n);
    for (int j = 0; j < n; ++j) {
        (*values)(j, 0) = pairs.values[j];
        for (int i = 0; i < n; ++i) {
            (*vectors)(i, j) = pairs.vectors[static_cast<std::size_t>(i) * n + j];
        }
    }
    SortEigenDescending(values, vectors, n);
    for (int j = 0; j < k; ++j) {
        (*eigenvalues)(j, 0) = (*values)(j, 0);
        for (int i = 0; i < n; ++i) {
            (*eigenvectors)(i, j) = (*vectors)(i, j);
        }
    }
}

} // namespace talver
