#include "matrix/Matrix.h"
#include "matrix/ThreadPoolRelease.h"

#include <algorithm>
#include <limits>
#include <new>

namespace talver {

namespace {

// Sanitizer builds free released matrices at once, so that a use after the
// scope closed is caught instead of reaching a recycled block.
#ifdef TALVER_NO_MATRIX_RECYCLING
constexpr bool kRecycling = false;
#else
constexpr bool kRecycling = true;
#endif

// Larger matrices are rare (data samples, replicate tables) and are given
// back to the system at once, so kept blocks never hold much memory.
constexpr std::size_t kLargestRecycled = std::size_t{1} << 18;
// Element counts below this have their free list at their index.
constexpr std::size_t kSmallCounts = 1024;

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
    // An allocation failure throws std::bad_alloc, which the front ends
    // report as a shortage of memory.
    values_.reset(new double[count == 0 ? 1 : count]());
}

void Matrix::Reuse(int rows, int cols)
{
    rows_ = rows;
    cols_ = cols;
    std::fill_n(values_.get(), Size(), 0.0);
}

MatrixPool::~MatrixPool()
{
    // Matrices still live at thread or process end are released with the pool.
    FreeAll();
}

Matrix* MatrixPool::Create(int rows, int cols)
{
    const std::size_t count = CheckedElementCount(rows, cols);
    FreeList* kept = kRecycling && count <= kLargestRecycled ? &FreeListOf(count) : nullptr;
    if (kept != nullptr && !kept->empty()) {
        live_.push_back(LiveMatrix{std::move(kept->back()), true});
        kept->pop_back();
        live_.back().matrix->Reuse(rows, cols);
    } else {
        live_.push_back(LiveMatrix{std::make_unique<Matrix>(rows, cols), true});
    }
    return live_.back().matrix.get();
}

Matrix* MatrixPool::Adopt(std::unique_ptr<Matrix> matrix)
{
    live_.push_back(LiveMatrix{std::move(matrix), false});
    return live_.back().matrix.get();
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
    smallFree_.clear();
    largeFree_.clear();
}

MatrixPool::FreeList& MatrixPool::FreeListOf(std::size_t count)
{
    if (count < kSmallCounts) {
        if (smallFree_.size() <= count) {
            smallFree_.resize(count + 1);
        }
        return smallFree_[count];
    }
    return largeFree_[count];
}

void MatrixPool::ReleaseDownTo(std::size_t count)
{
    const bool recycling = kRecycling;
    // Newest first, as they were created.
    while (live_.size() > count) {
        LiveMatrix& last = live_.back();
        const std::size_t size = last.matrix->Size();
        if (recycling && last.recyclable && size <= kLargestRecycled) {
            // Scopes close in destructors, also while an exception unwinds,
            // so keeping a matrix must not throw: short of memory, the
            // matrix is freed instead (the move leaves it in place then).
            try {
                FreeListOf(size).push_back(std::move(last.matrix));
            } catch (const std::bad_alloc&) {
            }
        }
        live_.pop_back();
    }
}

#if defined(__MINGW32__) && !defined(__clang__)
// MinGW-w64's GCC emulates thread-local storage and frees it at thread exit
// before the destructors of thread_local objects run on it (GCC bug 80816),
// so there the pool is held by a plain pointer and threads that end delete it
// through ReleaseThreadPool.
namespace {
thread_local MatrixPool* threadPool = nullptr;
} // namespace

MatrixPool& CurrentPool()
{
    if (threadPool == nullptr) {
        threadPool = new MatrixPool;
    }
    return *threadPool;
}

void ReleaseThreadPool()
{
    delete threadPool;
    threadPool = nullptr;
}
#else
MatrixPool& CurrentPool()
{
    thread_local MatrixPool pool;
    return pool;
}

void ReleaseThreadPool()
{
    CurrentPool().FreeAll();
}
#endif

Matrix* NewMatrix(int rows, int cols)
{
    return CurrentPool().Create(rows, cols);
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

} // namespace talver
