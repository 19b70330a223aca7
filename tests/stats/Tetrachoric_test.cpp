#include "stats/Tetrachoric.h"

#include <cmath>

#include <gtest/gtest.h>

using namespace talver;

namespace {

TEST(TetrachoricCorrelation, MedianSplitTablesUseTheClosedForm)
{
    // pa = 0.4: -cos(2 pi 0.4) = 0.809.
    EXPECT_EQ(TetrachoricCorrelation(40, 10, 10, 40), -std::cos(6.28318531 * 0.4));
    EXPECT_NEAR(TetrachoricCorrelation(40, 10, 10, 40), 0.809017, 1e-6);
    EXPECT_EQ(TetrachoricCorrelation(10, 40, 40, 10), -TetrachoricCorrelation(40, 10, 10, 40));
}

TEST(TetrachoricCorrelation, NoAssociationGivesExactlyZero)
{
    EXPECT_EQ(TetrachoricCorrelation(20, 10, 20, 10), 0.0);
    EXPECT_EQ(TetrachoricCorrelation(6, 9, 4, 6), 0.0);
}

TEST(TetrachoricCorrelation, ZeroCells)
{
    EXPECT_EQ(TetrachoricCorrelation(0, 12, 7, 0), -1.0);
    EXPECT_EQ(TetrachoricCorrelation(9, 0, 0, 14), 1.0);
    EXPECT_EQ(TetrachoricCorrelation(0, 0, 7, 14), kTetrachoricFailure);
    EXPECT_EQ(TetrachoricCorrelation(5, 0, 7, 0), kTetrachoricFailure);

    // One zero cell: half a count is moved onto it and the series runs.
    const double oneZero = TetrachoricCorrelation(0, 10, 15, 20);
    EXPECT_LT(oneZero, -0.5);
    EXPECT_GT(oneZero, -1.0);
    const double offDiagonalZero = TetrachoricCorrelation(25, 0, 8, 30);
    EXPECT_GT(offDiagonalZero, 0.5);
    EXPECT_LT(offDiagonalZero, 1.0);
}

TEST(TetrachoricCorrelation, NegativeCountIsAFailure)
{
    EXPECT_EQ(TetrachoricCorrelation(-1, 10, 10, 10), kTetrachoricFailure);
    EXPECT_EQ(TetrachoricCorrelation(10, 10, 10, -3), kTetrachoricFailure);
}

TEST(TetrachoricCorrelation, StrongAssociationRunsIntoTheClampAndFails)
{
    // About -0.98: the Newton corrections are held at 0.9999 and never converge.
    EXPECT_EQ(TetrachoricCorrelation(1, 10, 50, 2), kTetrachoricFailure);
}

TEST(TetrachoricCorrelation, InterchangingTheColumnsOfItemJFlipsTheSign)
{
    // The negative case is solved as the interchanged table: bit for bit.
    const int tables[][4] = {{30, 20, 15, 35}, {12, 5, 7, 20}, {3, 17, 25, 55}, {70, 20, 5, 5}};
    for (const auto& t : tables) {
        const double r = TetrachoricCorrelation(t[0], t[1], t[2], t[3]);
        ASSERT_NE(r, kTetrachoricFailure);
        EXPECT_EQ(TetrachoricCorrelation(t[1], t[0], t[3], t[2]), -r);
    }
}

TEST(TetrachoricCorrelation, InterchangingTheItemsKeepsTheValue)
{
    // b and c trade places; the series is symmetric in the two deviates.
    EXPECT_NEAR(TetrachoricCorrelation(30, 20, 15, 35), TetrachoricCorrelation(30, 15, 20, 35), 1e-6);
    EXPECT_NEAR(TetrachoricCorrelation(55, 14, 9, 22), TetrachoricCorrelation(55, 9, 14, 22), 1e-6);
}

} // namespace
