#pragma once
// Helpers for the decomposition tests, on top of the matrix test helpers.

#include <cmath>

#include "tests/matrix/matrix_test_support.h"

using namespace talver;

// Every element of actual within tolerance of expected, shapes equal.
inline void ExpectNearMatrix(const Matrix* actual, const Matrix* expected, double tolerance)
{
    ASSERT_EQ(actual->Rows(), expected->Rows());
    ASSERT_EQ(actual->Cols(), expected->Cols());
    for (int i = 0; i < actual->Rows(); ++i) {
        for (int j = 0; j < actual->Cols(); ++j) {
            EXPECT_NEAR((*actual)(i, j), (*expected)(i, j), tolerance) << "element (" << i << ", " << j << ")";
        }
    }
}

// Column j of actual equals column j of expected up to its sign.
inline void ExpectColumnUpToSign(const Matrix* actual, const Matrix* expected, int j, double tolerance)
{
    double dot = 0.0;
    for (int i = 0; i < actual->Rows(); ++i) {
        dot += (*actual)(i, j) * (*expected)(i, j);
    }
    const double sign = dot < 0.0 ? -1.0 : 1.0;
    for (int i = 0; i < actual->Rows(); ++i) {
        EXPECT_NEAR(sign * (*actual)(i, j), (*expected)(i, j), tolerance) << "row " << i << " of column " << j;
    }
}

inline Matrix* CopyOf(const Matrix* a)
{
    return Times(a, 1.0);
}

// The largest off-diagonal magnitude of a square matrix.
inline double LargestOffDiagonalMagnitude(const Matrix* a)
{
    double largest = 0.0;
    for (int i = 0; i < a->Rows(); ++i) {
        for (int j = 0; j < a->Cols(); ++j) {
            if (i != j) {
                largest = std::fmax(largest, std::fabs((*a)(i, j)));
            }
        }
    }
    return largest;
}
