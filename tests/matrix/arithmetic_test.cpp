#include "matrix_test_support.h"

#include <cmath>
#include <limits>

using namespace talver;

namespace {

using Arithmetic = MatrixTest;

// 2^53 + 1 rounds back to 2^53 while 1 - 2^53 is exact, so the order in
// which {2^53, 1, -2^53} is added decides between 0 and 1.
constexpr double kBig = 9007199254740992.0;

TEST_F(Arithmetic, ProductMultipliesRowsByColumns)
{
    const Matrix* a = FromRows({{1, 2, 3}, {4, 5, 6}});
    const Matrix* b = FromRows({{7, 8}, {9, 10}, {11, 12}});
    ExpectMatrix(Product(a, b), 2, 2, {58, 64, 139, 154});
    ExpectMatrix(Product(Zeros(2, 0), Zeros(0, 3)), 2, 3, {0, 0, 0, 0, 0, 0});
}

TEST_F(Arithmetic, ProductAccumulatesInInnerIndexOrder)
{
    const Matrix* row = FromRows({{kBig, 1, -kBig}});
    const Matrix* reversed = FromRows({{-kBig, 1, kBig}});
    const Matrix* ones = Ones(3, 1);
    EXPECT_EQ((*Product(row, ones))(0, 0), 0.0);
    EXPECT_EQ((*Product(reversed, ones))(0, 0), 1.0);
}

TEST_F(Arithmetic, ProductSumStartsFromPositiveZero)
{
    // -0.0 * 1 added to 0.0 gives +0.0; starting from the first product would keep -0.0.
    const double value = (*Product(FromRows({{-0.0}}), FromRows({{1.0}})))(0, 0);
    EXPECT_FALSE(std::signbit(value));
}

TEST_F(Arithmetic, ElementWiseBinaryOperations)
{
    const Matrix* a = FromRows({{6, 8}, {-3, 1}});
    const Matrix* b = FromRows({{2, 4}, {3, 0}});
    ExpectMatrix(Plus(a, b), 2, 2, {8, 12, 0, 1});
    ExpectMatrix(Minus(a, b), 2, 2, {4, 4, -6, 1});
    ExpectMatrix(ElementProduct(a, b), 2, 2, {12, 32, -9, 0});
    const Matrix* quotient = ElementQuotient(a, b);
    ExpectMatrix(SubMatrix(quotient, 1, 1, 2, 1), 2, 1, {3, -1});
    // The divisor is not tested.
    EXPECT_EQ((*quotient)(0, 1), 2.0);
    EXPECT_EQ((*quotient)(1, 1), std::numeric_limits<double>::infinity());
}

TEST_F(Arithmetic, ScalarOperations)
{
    const Matrix* a = FromRows({{1, -2}, {4, 0.5}});
    ExpectMatrix(PlusScalar(a, 1), 2, 2, {2, -1, 5, 1.5});
    ExpectMatrix(MinusScalar(a, 1), 2, 2, {0, -3, 3, -0.5});
    ExpectMatrix(Times(a, -2), 2, 2, {-2, 4, -8, -1});
    ExpectMatrix(TimesInt(a, 3), 2, 2, {3, -6, 12, 1.5});
    ExpectMatrix(DividedBy(a, 2), 2, 2, {0.5, -1, 2, 0.25});
    ExpectMatrix(ScalarOver(a, 2), 2, 2, {2, -1, 0.5, 4});
}

TEST_F(Arithmetic, NonPositiveDivisorsGiveZeroMatrices)
{
    const Matrix* a = FromRows({{1, -2}, {4, 0}});
    const std::vector<double> zeros = {0, 0, 0, 0};
    ExpectMatrix(DividedBy(a, -2), 2, 2, zeros);
    ExpectMatrix(DividedBy(a, 0), 2, 2, zeros);
    ExpectMatrix(DividedBy(a, std::nan("")), 2, 2, zeros);
    ExpectMatrix(ScalarOver(a, 0), 2, 2, zeros);
    ExpectMatrix(ScalarOver(a, -1), 2, 2, zeros);
    ExpectMatrix(DividedByInt(a, 0), 2, 2, zeros);
    // A negative integer divisor divides.
    ExpectMatrix(DividedByInt(a, -2), 2, 2, {-0.5, 1, -2, -0.0});
}

TEST_F(Arithmetic, TraceOfSquareMatricesOnly)
{
    EXPECT_EQ(Trace(FromRows({{1, 2}, {3, 4}})), 5.0);
    EXPECT_EQ(Trace(FromRows({{1, 2, 3}, {4, 5, 6}})), 0.0);
    EXPECT_EQ(Trace(Zeros(0, 0)), 0.0);
}

TEST_F(Arithmetic, ElementFunctions)
{
    ExpectMatrix(Sqrt(FromRows({{4, -4, 0}})), 1, 3, {2, 0, 0});
    EXPECT_EQ((*Sqrt(FromRows({{std::nan("")}})))(0, 0), 0.0);
    ExpectMatrix(Power(FromRows({{0, 2}, {-3, 0}}), 0), 2, 2, {1, 1, 1, 1});
    ExpectMatrix(Power(FromRows({{0, 2}, {-3, 0.5}}), 2), 2, 2, {0, 4, 9, 0.25});
    ExpectMatrix(Exp(FromRows({{0}})), 1, 1, {1});
    ExpectMatrix(Log(FromRows({{1}})), 1, 1, {0});
    EXPECT_EQ((*Log(FromRows({{0}})))(0, 0), -std::numeric_limits<double>::infinity());
    EXPECT_TRUE(std::isnan((*Log(FromRows({{-1}})))(0, 0)));
}

TEST_F(Arithmetic, EmptyOperandsGiveEmptyResults)
{
    const Matrix* empty = Zeros(0, 3);
    ExpectMatrix(Times(empty, 2), 0, 3, {});
    ExpectMatrix(Sqrt(empty), 0, 3, {});
    ExpectMatrix(Plus(empty, empty), 0, 3, {});
    ExpectMatrix(Power(Zeros(2, 0), 0), 2, 0, {});
}

} // namespace
