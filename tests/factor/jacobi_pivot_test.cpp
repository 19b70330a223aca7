// The tracked pivot search against the plain scan of the whole matrix, after
// every rotation of whole Jacobi runs: the same element must be chosen each
// time, so that every rotation and every bit of the results stay the same.

#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "factor/JacobiEigen.h"
#include "factor/JacobiPivot.h"
#include "factor/JacobiRotation.h"
#include "tests/factor/factor_test_support.h"

namespace {

// The search as a row-major scan of every off-diagonal element, starting
// from (1, 0) and moving only to a strictly greater magnitude.
OffDiagonal ScannedLargest(const Matrix* w)
{
    OffDiagonal largest{1, 0, std::fabs((*w)(1, 0))};
    for (int i = 0; i < w->Rows(); ++i) {
        for (int j = 0; j < w->Cols(); ++j) {
            if (j != i && std::fabs((*w)(i, j)) > largest.magnitude) {
                largest = OffDiagonal{i, j, std::fabs((*w)(i, j))};
            }
        }
    }
    return largest;
}

bool SameBits(double a, double b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// The rotation as two plain updates: rows b and d from columns b and d, then
// columns b and d of the result.
void ReferenceRotate(Matrix* w, Matrix* v, int b, int d)
{
    const int n = w->Rows();
    const double difference = (*w)(d, d) - (*w)(b, b);
    const double g = difference == 0.0 ? (*w)(b, d) * 10000000.0 : (*w)(b, d) / difference;
    const double c = 1.0 / std::sqrt(1.0 + g * g);
    const double s = g * c;
    std::vector<double> colB(n);
    std::vector<double> colD(n);
    for (int k = 0; k < n; ++k) {
        colB[k] = (*w)(k, b);
        colD[k] = (*w)(k, d);
    }
    for (int k = 0; k < n; ++k) {
        (*w)(b, k) = c * colB[k] - s * colD[k];
        (*w)(d, k) = s * colB[k] + c * colD[k];
    }
    for (int k = 0; k < n; ++k) {
        colB[k] = (*w)(k, b);
        colD[k] = (*w)(k, d);
    }
    for (int k = 0; k < n; ++k) {
        (*w)(k, b) = c * colB[k] - s * colD[k];
        (*w)(k, d) = s * colB[k] + c * colD[k];
    }
    for (int k = 0; k < n; ++k) {
        const double vb = (*v)(k, b);
        const double vd = (*v)(k, d);
        (*v)(k, b) = c * vb - s * vd;
        (*v)(k, d) = s * vb + c * vd;
    }
}

bool SameMatrixBits(const Matrix* a, const Matrix* b)
{
    for (int i = 0; i < a->Rows(); ++i) {
        for (int j = 0; j < a->Cols(); ++j) {
            if (!SameBits((*a)(i, j), (*b)(i, j))) {
                return false;
            }
        }
    }
    return true;
}

// Rotates w with the pivots of the plain scan, at most `rotations` times or
// until the Jacobi stopping rule holds, and checks the tracked search before
// every rotation, and the rotation against the plain one after it. Returns
// the rotations done.
long long CompareSearches(Matrix* w, long long rotations, const std::string& label)
{
    const int n = w->Rows();
    Matrix* v = Identity(n);
    Matrix* plainW = CopyOf(w);
    Matrix* plainV = Identity(n);
    OffDiagonalMaxima maxima(w);
    long long done = 0;
    while (done < rotations) {
        const OffDiagonal expected = ScannedLargest(w);
        const OffDiagonal tracked = maxima.Largest();
        if (expected.row != tracked.row || expected.col != tracked.col ||
            !SameBits(expected.magnitude, tracked.magnitude)) {
            ADD_FAILURE() << label << ", before rotation " << done << ": scan chose (" << expected.row << ", "
                          << expected.col << ") " << expected.magnitude << ", tracking chose (" << tracked.row
                          << ", " << tracked.col << ") " << tracked.magnitude;
            return done;
        }
        double sumOfSquares = 0.0;
        for (int i = 0; i < n; ++i) {
            sumOfSquares += (*w)(i, i) * (*w)(i, i);
        }
        if (done > 0 && 1e-6 * std::sqrt(sumOfSquares / n) > expected.magnitude) {
            break;
        }
        JacobiRotate(w, v, expected.row, expected.col);
        ReferenceRotate(plainW, plainV, expected.row, expected.col);
        if (!SameMatrixBits(w, plainW) || !SameMatrixBits(v, plainV)) {
            ADD_FAILURE() << label << ": rotation " << done << " differs from the plain one";
            return done;
        }
        maxima.AfterRotation(expected.row, expected.col);
        ++done;
    }
    return done;
}

std::mt19937_64& Engine()
{
    static std::mt19937_64 engine(20261209);
    return engine;
}

// Symmetric with normal elements, like a covariance matrix.
Matrix* RandomSymmetric(int n)
{
    std::normal_distribution<double> normal;
    Matrix* a = NewMatrix(n, n);
    for (int i = 0; i < n; ++i) {
        (*a)(i, i) = 2.0 + std::fabs(normal(Engine()));
        for (int j = 0; j < i; ++j) {
            (*a)(i, j) = (*a)(j, i) = normal(Engine());
        }
    }
    return a;
}

// Symmetric with elements from {-2, -1, 0, 1, 2} and a few equal diagonals:
// ties everywhere, in both triangles, in the first row and at (1, 0).
Matrix* TiedSymmetric(int n)
{
    std::uniform_int_distribution<int> small(-2, 2);
    Matrix* a = NewMatrix(n, n);
    for (int i = 0; i < n; ++i) {
        (*a)(i, i) = 3.0 + (i % 3);
        for (int j = 0; j < i; ++j) {
            (*a)(i, j) = (*a)(j, i) = small(Engine());
        }
    }
    return a;
}

// Identical 2 x 2 blocks: each rotation leaves exact ties behind in the
// blocks it does not touch.
Matrix* RepeatedBlocks(int n)
{
    Matrix* a = Identity(n);
    for (int i = 0; i + 1 < n; i += 2) {
        (*a)(i, i + 1) = (*a)(i + 1, i) = 0.5;
        (*a)(i + 1, i + 1) = 2.0;
    }
    return a;
}

TEST(JacobiPivotTest, TrackedSearchChoosesTheScannedElementAtEveryRotation)
{
    MatrixScope scope;
    for (int n = 2; n <= 80; ++n) {
        // Whole runs up to 16 items, and the first 200 rotations above.
        const long long cap = n <= 16 ? JacobiRotationLimit(n) : 200;
        CompareSearches(RandomSymmetric(n), cap, "random " + std::to_string(n));
        CompareSearches(TiedSymmetric(n), cap, "tied " + std::to_string(n));
        CompareSearches(RepeatedBlocks(n), cap, "blocks " + std::to_string(n));
    }
    for (int n : {30, 60}) {
        EXPECT_GT(CompareSearches(RandomSymmetric(n), JacobiRotationLimit(n), "whole random run"), n * n / 2);
        CompareSearches(TiedSymmetric(n), JacobiRotationLimit(n), "whole tied run");
    }
}

TEST(JacobiPivotTest, ATieMadeByARotationGoesToTheLeftmostElement)
{
    // The rotation in the plane (2, 3) has g = 0.75 and turns (0, 2) into
    // exactly the value held at (0, 4), the row's maximum until then, and the
    // largest element afterwards: the scan takes (0, 2), further left.
    MatrixScope scope;
    Matrix* a = FromRows({{1.0, 0.0, 0.4, -0.3, 0.0},
                          {0.0, 1.0, 0.0, 0.0, 0.0},
                          {0.4, 0.0, 2.0, 0.75, 0.0},
                          {-0.3, 0.0, 0.75, 3.0, 0.0},
                          {0.0, 0.0, 0.0, 0.0, 1.0}});
    const double g = 0.75;
    const double c = 1.0 / std::sqrt(1.0 + g * g);
    const double s = g * c;
    (*a)(0, 4) = (*a)(4, 0) = c * 0.4 - s * -0.3;
    EXPECT_EQ(CompareSearches(a, 2, "made tie"), 2);
}

TEST(JacobiPivotTest, DegenerateMatricesChooseAsTheScanDoes)
{
    MatrixScope scope;
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    CompareSearches(Zeros(5, 5), 20, "zeros");
    CompareSearches(Filled(6, 6, 1.0), 50, "all ones");

    // A NaN at the start (1, 0), inside a row, and a row of nothing but NaN.
    Matrix* nanStart = RandomSymmetric(5);
    (*nanStart)(1, 0) = (*nanStart)(0, 1) = nan;
    CompareSearches(nanStart, 5, "NaN at (1, 0)");
    Matrix* nanInside = RandomSymmetric(6);
    (*nanInside)(3, 4) = nan;
    CompareSearches(nanInside, 30, "NaN inside");
    Matrix* nanRow = RandomSymmetric(4);
    for (int j = 0; j < 4; ++j) {
        (*nanRow)(2, j) = nan;
    }
    CompareSearches(nanRow, 30, "NaN row");
    Matrix* infinite = RandomSymmetric(5);
    (*infinite)(2, 3) = (*infinite)(4, 1) = -inf;
    CompareSearches(infinite, 30, "infinities");
}

TEST(JacobiPivotTest, EigenDecompositionFollowsTheScannedRotationsBitForBit)
{
    MatrixScope scope;
    for (int n : {3, 17, 45}) {
        Matrix* a = RandomSymmetric(n);
        Matrix* expected = CopyOf(a);
        const long long rotations = CompareSearches(expected, JacobiRotationLimit(n), "reference");
        Matrix* values = NewMatrix(n, 1);
        Matrix* vectors = NewMatrix(n, n);
        EXPECT_EQ(JacobiEigen(a, values, vectors), rotations);
        for (int i = 0; i < n; ++i) {
            for (int j = 0; j < n; ++j) {
                ASSERT_TRUE(SameBits((*a)(i, j), (*expected)(i, j))) << n << ": (" << i << ", " << j << ")";
            }
        }
    }
}

} // namespace
