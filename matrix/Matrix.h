#pragma once
// The dense matrix of doubles that every computation uses, and the pool that
// owns every matrix. Code holds plain pointers; the pool deletes a matrix when
// the innermost scope that was open at its birth is closed.

#include <cstddef>
#include <memory>
#include <stdexcept>
#include <unordered_map>
#include <vector>

namespace talver {

class Matrix {
public:
    Matrix(int rows, int cols);
    virtual ~Matrix() = default;
    Matrix(const Matrix&) = delete;
    Matrix& operator=(const Matrix&) = delete;

    int Rows() const { return rows_; }
    int Cols() const { return cols_; }

    // Element (i, j), both 0-based.
    double& operator()(int i, int j) { return values_[Offset(i, j)]; }
    double operator()(int i, int j) const { return values_[Offset(i, j)]; }

    // Row i as a plain array of Cols() doubles.
    double* Row(int i) { return values_.get() + static_cast<std::size_t>(i) * cols_; }
    const double* Row(int i) const { return values_.get() + static_cast<std::size_t>(i) * cols_; }

    std::size_t Size() const { return static_cast<std::size_t>(rows_) * cols_; }
    // A copy of every element, row by row: the row-major array that the
    // decompositions work on in place.
    std::vector<double> Elements() const { return std::vector<double>(values_.get(), values_.get() + Size()); }

private:
    friend class MatrixPool;

    std::size_t Offset(int i, int j) const { return static_cast<std::size_t>(i) * cols_ + j; }
    // Gives a recycled matrix a new shape of the same element count, all zeros.
    void Reuse(int rows, int cols);

    int rows_;
    int cols_;
    std::unique_ptr<double[]> values_;
};

// The registry of live matrices with its stack of scope marks. Each thread that
// computes has its own pool (see CurrentPool), so work on one thread never
// touches another thread's matrices.
//
// Bootstrap loops create and release the same shapes thousands of times, so
// the matrices that the pool made itself are not deleted when their scope
// closes but kept, per element count, for the next request of that count.
class MatrixPool {
public:
    MatrixPool() = default;
    ~MatrixPool();
    MatrixPool(const MatrixPool&) = delete;
    MatrixPool& operator=(const MatrixPool&) = delete;

    // A rows x cols matrix of zeros, recycled when one of that element count
    // is free.
    Matrix* Create(int rows, int cols);
    // Registers a matrix made elsewhere; it is deleted, never recycled.
    Matrix* Adopt(std::unique_ptr<Matrix> matrix);
    void OpenScope();
    void CloseScope();
    // Deletes every live matrix and every kept one.
    void FreeAll();

    std::size_t LiveCount() const { return live_.size(); }
    std::size_t OpenScopeCount() const { return marks_.size(); }

private:
    struct LiveMatrix {
        std::unique_ptr<Matrix> matrix;
        bool recyclable;
    };
    // A scope mark remembers the live count at the moment the scope opened.
    struct ScopeMark {
        std::size_t liveCount;
    };

    using FreeList = std::vector<std::unique_ptr<Matrix>>;

    void ReleaseDownTo(std::size_t count);
    // The released matrices of this element count.
    FreeList& FreeListOf(std::size_t count);

    std::vector<LiveMatrix> live_;
    std::vector<ScopeMark> marks_;
    // Released matrices by element count: small counts, the common ones, by
    // index, the others by look-up.
    std::vector<FreeList> smallFree_;
    std::unordered_map<std::size_t, FreeList> largeFree_;
};


// The pool of the calling thread.
MatrixPool& CurrentPool();

// A new rows x cols matrix of zeros, owned by the current scope of the pool.
Matrix* NewMatrix(int rows, int cols);
void OpenScope();
void CloseScope();
void FreeAllMatrices();
std::size_t LiveMatrixCount();

// Opens a scope for its lifetime, so that every exit of a routine closes it.
class MatrixScope {
public:
    MatrixScope() { OpenScope(); }
    ~MatrixScope() { CloseScope(); }
    MatrixScope(const MatrixScope&) = delete;
    MatrixScope& operator=(const MatrixScope&) = delete;
};

// A programming error met by the matrix engine (operand shapes that do not
// fit), never a fault of the data.
class MatrixEngineError : public std::logic_error {
public:
    using std::logic_error::logic_error;
};

// Throws MatrixEngineError with the diagnostic, so that the run's thread
// cleans up and reports it whichever thread met it; a thread never ends the
// process. A host may link its own definition (the R package does).
[[noreturn]] void FatalMatrixError(const char* diagnostic);

// The diagnostics of the fatal stop.
inline constexpr const char* kProductShapeError = "MATRICES DESIGUALES EN PRODUCTO DE MATRICES .* !!!";
inline constexpr const char* kJoinShapeError = "MATRICES DESIGUALES EN LA CONSTRUCCION DE LA SUPERMATRIZ!!!";
inline constexpr const char* kSubMatrixIndexError = "";

} // namespace talver
