#pragma once
// Helpers for the matrix tests: literal matrices and exact comparisons.

#include <gtest/gtest.h>

#include <initializer_list>
#include <vector>

#include "matrix/MatrixOps.h"

using namespace talver;

// A matrix from its rows, written row by row.
inline Matrix* FromRows(std::initializer_list<std::initializer_list<double>> rows)
{
    const int rowCount = static_cast<int>(rows.size());
    const int colCount = rowCount == 0 ? 0 : static_cast<int>(rows.begin()->size());
    Matrix* m = NewMatrix(rowCount, colCount);
    int i = 0;
    for (const auto& row : rows) {
        int j = 0;
        for (double v : row) {
            (*m)(i, j++) = v;
        }
        ++i;
    }
    return m;
}

// The elements row by row, for whole-matrix comparisons.
inline std::vector<double> Elements(const Matrix* m)
{
    std::vector<double> values;
    for (int i = 0; i < m->Rows(); ++i) {
        for (int j = 0; j < m->Cols(); ++j) {
            values.push_back((*m)(i, j));
        }
    }
    return values;
}

// Shape and every element equal, bit for bit (EXPECT_EQ on doubles).
inline void ExpectMatrix(const Matrix* actual, int rows, int cols, std::vector<double> expected)
{
    ASSERT_EQ(actual->Rows(), rows);
    ASSERT_EQ(actual->Cols(), cols);
    EXPECT_EQ(Elements(actual), expected);
}

// Every test runs inside its own scope so its matrices are released after it.
class MatrixTest : public ::testing::Test {
protected:
    void SetUp() override { OpenScope(); }
    void TearDown() override { CloseScope(); }
};
