#include "factor/Inverse.h"

#include <cmath>
#include <utility>

#include "factor/ShapeChecks.h"
#include "matrix/MatrixInPlace.h"
#include "matrix/MatrixOps.h"

namespace talver {

namespace {

// Reduces q to the identity by Gauss-Jordan elimination, applying the same
// row operations to p when it is given (p then ends as the inverse). Returns
// the determinant: the product of the pivots, negated once per interchange.
double EliminateToIdentity(Matrix* q, Matrix* p)
{
    const int n = q->Cols();
    double determinant = 1.0;
    for (int i = 0; i < n; ++i) {
        // The first row with the largest magnitude in column i is the pivot.
        int pivot = i;
        double largest = std::fabs((*q)(i, i));
        for (int j = i + 1; j < n; ++j) {
            if (std::fabs((*q)(j, i)) > largest) {
                largest = std::fabs((*q)(j, i));
                pivot = j;
            }
        }
        if (pivot != i) {
            if (p != nullptr) {
                for (int c = 0; c < n; ++c) {
                    std::swap((*p)(i, c), (*p)(pivot, c));
                }
            }
            // Left of column i both rows are already zero.
            for (int c = i; c < n; ++c) {
                std::swap((*q)(i, c), (*q)(pivot, c));
            }
            determinant = -determinant;
        }

        const double b = (*q)(i, i);
        determinant *= b;
        if (p != nullptr) {
            for (int c = 0; c < n; ++c) {
                (*p)(i, c) /= b;
            }
        }
        for (int c = i; c < n; ++c) {
            (*q)(i, c) /= b;
        }

        for (int k = 0; k < n; ++k) {
            if (k == i) {
                continue;
            }
            const double a = (*q)(k, i);
            if (p != nullptr) {
                for (int c = 0; c < n; ++c) {
                    (*p)(k, c) -= a * (*p)(i, c);
                }
            }
            for (int c = 0; c < n; ++c) {
                (*q)(k, c) -= a * (*q)(i, c);
            }
        }
    }
    return determinant;
}

} // namespace

Matrix* Inverse(const Matrix* a)
{
    RequireSquare(a);
    Matrix* result = NewMatrix(a->Rows(), a->Cols());
    MatrixScope scope;
    Matrix* q = NewMatrix(a->Rows(), a->Cols());
    CopyValues(a, q);
    for (int i = 0; i < a->Rows(); ++i) {
        (*result)(i, i) = 1.0;
    }
    EliminateToIdentity(q, result);
    return result;
}

double Determinant(const Matrix* a)
{
    RequireSquare(a);
    MatrixScope scope;
    Matrix* q = NewMatrix(a->Rows(), a->Cols());
    CopyValues(a, q);
    return EliminateToIdentity(q, nullptr);
}

Matrix* GeneralizedInverse(const Matrix* a)
{
    Matrix* result = NewMatrix(a->Rows(), a->Cols());
    const int n = a->Rows();
    if (n != a->Cols() || n == 0) {
        return result;
    }
    MatrixScope scope;
    if (MaxElement(Minus(a, Transposed(a))) > 1e-9) {
        return result;
    }

    CopyValues(a, result);
    Matrix* pivotRow = NewMatrix(1, n);
    double* p = pivotRow->Row(0);
    for (int i = 0; i < n; ++i) {
        const double a_ii = (*result)(i, i);
        if (std::fabs(a_ii) >= kDroppedPivot) {
            double* rowI = result->Row(i);
            for (int c = 0; c < n; ++c) {
                rowI[c] /= a_ii;
                p[c] = rowI[c];
            }
            for (int j = 0; j < n; ++j) {
                if (j == i) {
                    continue;
                }
                double* rowJ = result->Row(j);
                const double b = rowJ[i];
                for (int c = 0; c < n; ++c) {
                    rowJ[c] -= b * p[c];
                }
                rowJ[i] = -b / a_ii;
            }
            rowI[i] = 1.0 / a_ii;
        } else {
            // A numerically zero pivot drops its row and column.
            for (int c = 0; c < n; ++c) {
                (*result)(i, c) = 0.0;
                (*result)(c, i) = 0.0;
            }
        }
    }
    return result;
}

} // namespace talver
