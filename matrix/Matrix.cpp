#include "matrix/Matrix.h"

#include <cstdio>
#include <cstdlib>
#include <limits>
#include <new>

namespace {

// Refuse shapes whose element count does not fit in memory addressing before
// anything is allocated.
std::size_t CheckedElementCount(int rows, int cols)
{
    if (rows < 0 || cols < 0) {
        FatalMatrixError("MATRIX WITH NEGATIVE SIZE");
    }
    const std::size_t count = static_cast<std::size_t>(rows) * static_cast<std::size_t>(cols);
    if (cols != 0 && count / static_cast<std::size_t>(cols) != static_cast<std::size_t>(rows)) {
        FatalMatrixError("MATRIX TOO LARGE");
    }
    if (count > std::numeric_limits<std::size_t>::max() / sizeof(double)) {
        FatalMatrixError("MATRIX TOO LARGE");
    }
    return count;
}

} // namespace

Matrix::Matrix(int rows, int cols) : rows_(rows), cols_(cols)
{
    const std::size_t count = CheckedElementCount(rows, cols);
    values_.reset(new (std::nothrow) double[count == 0 ? 1 : count]());
    if (!values_) {
        FatalMatrixError("OUT OF MEMORY FOR A MATRIX");
    }
}

MatrixPool::~MatrixPool()
{
    // Matrices still live at thread or process end are released with the pool.
    FreeAll();
}

Matrix* MatrixPool::Adopt(std::unique_ptr<Matrix> matrix)
{
    live_.push_back(std::move(matrix));
    return live_.back().get();
}

void MatrixPool::OpenScope()
{
    marks_.push_back(ScopeMark{live_.size()});
}

void MatrixPool::CloseScope()
{
    if (marks_.empty()) {
        FatalMatrixError("SCOPE CLOSED WITHOUT AN OPEN SCOPE");
    }
    const std::size_t count = marks_.back().liveCount;
    marks_.pop_back();
    ReleaseDownTo(count);
}

void MatrixPool::FreeAll()
{
    ReleaseDownTo(0);
}

void MatrixPool::ReleaseDownTo(std::size_t count)
{
    // Newest first, as they were created.
    while (live_.size() > count) {
        live_.pop_back();
    }
}

MatrixPool& CurrentPool()
{
    thread_local MatrixPool pool;
    return pool;
}

Matrix* NewMatrix(int rows, int cols)
{
    return CurrentPool().Adopt(std::make_unique<Matrix>(rows, cols));
}

void OpenScope()
{
    CurrentPool().OpenScope();
}

void CloseScope()
{
    CurrentPool().CloseScope();
}

void FreeAllMatrices()
{
    CurrentPool().FreeAll();
}

std::size_t LiveMatrixCount()
{
    return CurrentPool().LiveCount();
}

void FatalMatrixError(const char* diagnostic)
{
    std::fprintf(stderr, "%s\n", diagnostic);
    std::exit(1);
}
