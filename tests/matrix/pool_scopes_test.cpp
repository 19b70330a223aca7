#include <gtest/gtest.h>

#include <memory>

#include "matrix/Matrix.h"

using namespace talver;

namespace {

// A matrix that reports its own deletion, to see what a scope releases.
class WatchedMatrix : public Matrix {
public:
    explicit WatchedMatrix(bool* deleted) : Matrix(1, 1), deleted_(deleted) {}
    ~WatchedMatrix() override { *deleted_ = true; }

private:
    bool* deleted_;
};

Matrix* NewWatchedMatrix(bool* deleted)
{
    return CurrentPool().Adopt(std::make_unique<WatchedMatrix>(deleted));
}

TEST(MatrixPool, NewMatrixIsAllZerosIncludingEmptyShapes)
{
    MatrixScope scope;
    const Matrix* m = NewMatrix(3, 2);
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 2; ++j) {
            EXPECT_EQ((*m)(i, j), 0.0);
        }
    }
    EXPECT_EQ(NewMatrix(0, 4)->Size(), 0u);
    EXPECT_EQ(NewMatrix(4, 0)->Cols(), 0);
}

TEST(MatrixPool, ClosingAScopeRestoresTheLiveCountAndMarks)
{
    const std::size_t liveBefore = LiveMatrixCount();
    const std::size_t marksBefore = CurrentPool().OpenScopeCount();
    OpenScope();
    NewMatrix(2, 2);
    NewMatrix(3, 1);
    EXPECT_EQ(LiveMatrixCount(), liveBefore + 2);
    CloseScope();
    EXPECT_EQ(LiveMatrixCount(), liveBefore);
    EXPECT_EQ(CurrentPool().OpenScopeCount(), marksBefore);
}

TEST(MatrixPool, ResultCreatedBeforeTheScopeSurvivesIt)
{
    // The flags outlive the scopes that set them.
    bool resultDeleted = false;
    bool temporaryDeleted = false;
    MatrixScope outer;
    Matrix* result = NewWatchedMatrix(&resultDeleted);
    Matrix* stored = nullptr;
    {
        MatrixScope inner;
        stored = NewWatchedMatrix(&temporaryDeleted);
        (*stored)(0, 0) = 7.0;
        (*result)(0, 0) = (*stored)(0, 0);
    }
    // The temporary is gone although a pointer to it is still held.
    EXPECT_TRUE(temporaryDeleted);
    EXPECT_FALSE(resultDeleted);
    EXPECT_EQ((*result)(0, 0), 7.0);
    EXPECT_NE(stored, nullptr);
}

TEST(MatrixPool, NestedScopesReleaseInnermostFirst)
{
    const std::size_t liveBefore = LiveMatrixCount();
    const std::size_t marksBefore = CurrentPool().OpenScopeCount();
    bool outerDeleted = false;
    bool innerDeleted = false;
    OpenScope();
    NewWatchedMatrix(&outerDeleted);
    OpenScope();
    NewWatchedMatrix(&innerDeleted);
    NewMatrix(2, 2);
    CloseScope();
    EXPECT_TRUE(innerDeleted);
    EXPECT_FALSE(outerDeleted);
    EXPECT_EQ(LiveMatrixCount(), liveBefore + 1);
    EXPECT_EQ(CurrentPool().OpenScopeCount(), marksBefore + 1);
    NewMatrix(1, 1);
    CloseScope();
    EXPECT_TRUE(outerDeleted);
    EXPECT_EQ(LiveMatrixCount(), liveBefore);
    EXPECT_EQ(CurrentPool().OpenScopeCount(), marksBefore);
}

TEST(MatrixPool, FreeAllMatricesReleasesAThousandMatrices)
{
    for (int k = 0; k < 1000; ++k) {
        NewMatrix(2, 3);
    }
    EXPECT_GE(LiveMatrixCount(), 1000u);
    FreeAllMatrices();
    EXPECT_EQ(LiveMatrixCount(), 0u);
}

} // namespace
