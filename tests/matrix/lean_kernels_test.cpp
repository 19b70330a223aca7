// The hot kernels against the straightforward loops they replace, bit for
// bit: the product in j-k order, column sums one row at a time, and the
// covariance and correlation matrices as scaled products of the centred or
// standardised data with its transpose. Row counts around multiples of four
// cover the blocked loops and their remainders. And the recycling pool.

#include "matrix_test_support.h"

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>

using namespace talver;

namespace {

using LeanKernels = MatrixTest;

// Values of varied sign and magnitude, so that rounding differs with order.
Matrix* Scattered(int rows, int cols, std::uint32_t seed)
{
    Matrix* m = NewMatrix(rows, cols);
    for (int i = 0; i < rows; ++i) {
        for (int j = 0; j < cols; ++j) {
            seed = seed * 1664525u + 1013904223u;
            const double unit = static_cast<double>(seed >> 8) / 16777216.0;
            (*m)(i, j) = (unit - 0.3) * std::pow(10.0, static_cast<int>(seed % 7) - 3);
        }
    }
    return m;
}

void ExpectSameBits(const Matrix* actual, const std::vector<std::vector<double>>& expected)
{
    ASSERT_EQ(actual->Rows(), static_cast<int>(expected.size()));
    for (int i = 0; i < actual->Rows(); ++i) {
        ASSERT_EQ(actual->Cols(), static_cast<int>(expected[i].size()));
        for (int j = 0; j < actual->Cols(); ++j) {
            EXPECT_EQ(std::bit_cast<std::uint64_t>((*actual)(i, j)), std::bit_cast<std::uint64_t>(expected[i][j]))
                << "(" << i << ", " << j << "): " << (*actual)(i, j) << " against " << expected[i][j];
        }
    }
}

std::vector<std::vector<double>> PlainProduct(const Matrix* a, const Matrix* b)
{
    std::vector<std::vector<double>> c(a->Rows(), std::vector<double>(b->Cols()));
    for (int i = 0; i < a->Rows(); ++i) {
        for (int j = 0; j < b->Cols(); ++j) {
            double sum = 0.0;
            for (int k = 0; k < a->Cols(); ++k) {
                sum += (*a)(i, k) * (*b)(k, j);
            }
            c[i][j] = sum;
        }
    }
    return c;
}

std::vector<double> PlainColumnSums(const Matrix* a, bool squares = false)
{
    std::vector<double> sums(a->Cols(), 0.0);
    for (int i = 0; i < a->Rows(); ++i) {
        for (int j = 0; j < a->Cols(); ++j) {
            sums[j] += squares ? (*a)(i, j) * (*a)(i, j) : (*a)(i, j);
        }
    }
    return sums;
}

// (1/n) times the transpose of x times x, x the centred (or standardised)
// data: one-pass standard deviations as ColumnStdDevs computes them.
std::vector<std::vector<double>> PlainDispersion(const Matrix* a, bool standardise)
{
    const int n = a->Rows();
    const int p = a->Cols();
    const std::vector<double> sums = PlainColumnSums(a);
    std::vector<double> means(p);
    std::vector<double> sds(p);
    for (int j = 0; j < p; ++j) {
        double squares = 0.0;
        for (int i = 0; i < n; ++i) {
            squares += (*a)(i, j) * (*a)(i, j);
        }
        means[j] = sums[j] / n;
        sds[j] = std::sqrt(squares / n - means[j] * means[j]);
    }
    std::vector<std::vector<double>> x(n, std::vector<double>(p));
    for (int i = 0; i < n; ++i) {
        for (int j = 0; j < p; ++j) {
            x[i][j] = standardise ? ((*a)(i, j) - means[j]) / sds[j] : (*a)(i, j) - means[j];
        }
    }
    std::vector<std::vector<double>> s(p, std::vector<double>(p));
    for (int i = 0; i < p; ++i) {
        for (int j = 0; j < p; ++j) {
            double sum = 0.0;
            for (int k = 0; k < n; ++k) {
                sum += x[k][i] * x[k][j];
            }
            s[i][j] = (1.0 / n) * sum;
        }
    }
    return s;
}

TEST_F(LeanKernels, ProductAddsEachElementsTermsInOrder)
{
    for (const auto [rows, inner, cols] : {std::array{1, 1, 1}, std::array{3, 7, 2}, std::array{10, 10, 10},
                                           std::array{2, 707, 3}, std::array{9, 4, 0}, std::array{0, 5, 3}}) {
        const Matrix* a = Scattered(rows, inner, 11u + rows);
        const Matrix* b = Scattered(inner, cols, 23u + cols);
        ExpectSameBits(Product(a, b), PlainProduct(a, b));
    }
}

TEST_F(LeanKernels, ColumnSumsAddRowByRow)
{
    for (int rows = 0; rows <= 13; ++rows) {
        for (int cols : {1, 4, 5}) {
            const Matrix* a = Scattered(rows, cols, 31u + rows);
            ExpectSameBits(ColumnSums(a), {PlainColumnSums(a)});
            ExpectSameBits(ColumnSumsOfSquares(a), {PlainColumnSums(a, true)});
        }
    }
}

TEST_F(LeanKernels, CovarianceAndCorrelationAreThePlainScaledProducts)
{
    for (int rows = 1; rows <= 13; ++rows) {
        for (int cols : {1, 2, 5, 10}) {
            const Matrix* a = Scattered(rows, cols, 41u + 100u * rows + cols);
            ExpectSameBits(CovarianceMatrix(a), PlainDispersion(a, false));
            ExpectSameBits(CorrelationMatrix(a), PlainDispersion(a, true));
        }
    }
    const Matrix* sample = Scattered(707, 10, 5u);
    ExpectSameBits(CovarianceMatrix(sample), PlainDispersion(sample, false));
    ExpectSameBits(CorrelationMatrix(sample), PlainDispersion(sample, true));
}

TEST(RecyclingPool, AReleasedMatrixComesBackWithTheNewShapeAndZeros)
{
#ifdef TALVER_NO_MATRIX_RECYCLING
    GTEST_SKIP() << "sanitizer builds free released matrices at once";
#endif
    Matrix* released = nullptr;
    {
        MatrixScope scope;
        released = NewMatrix(3, 4);
        for (int i = 0; i < 3; ++i) {
            for (int j = 0; j < 4; ++j) {
                (*released)(i, j) = 7.0;
            }
        }
    }
    MatrixScope scope;
    Matrix* reused = NewMatrix(4, 3);
    EXPECT_EQ(reused, released);
    ExpectMatrix(reused, 4, 3, std::vector<double>(12, 0.0));
    // Another element count gets a matrix of its own.
    Matrix* other = NewMatrix(2, 2);
    EXPECT_NE(other, released);
    ExpectMatrix(other, 2, 2, {0, 0, 0, 0});
}

} // namespace
