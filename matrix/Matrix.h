#pragma once
// The dense matrix of doubles that every computation uses, and the pool that
// owns every matrix. Code holds plain pointers; the pool deletes a matrix when
// the innermost scope that was open at its birth is closed.

#include <cstddef>
#include <memory>
#include <vector>

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

private:
    std::size_t Offset(int i, int j) const { return static_cast<std::size_t>(i) * cols_ + j; }

    int rows_;
    int cols_;
    std::unique_ptr<double[]> values_;
};

// The registry of live matrices with its stack of scope marks. Each thread that
// computes has its own pool (see CurrentPool), so work on one thread never
// touches another thread's matrices.
class MatrixPool {
public:
    MatrixPool() = default;
    ~MatrixPool();
    MatrixPool(const MatrixPool&) = delete;
    MatrixPool& operator=(const MatrixPool&) = delete;

    Matrix* Adopt(std::unique_ptr<Matrix> matrix);
    void OpenScope();
    void CloseScope();
    void FreeAll();

    std::size_t LiveCount() const { return live_.size(); }
    std::size_t OpenScopeCount() const { return marks_.size(); }

private:
    // A scope mark remembers the live count at the moment the scope opened.
    struct ScopeMark {
        std::size_t liveCount;
    };

    void ReleaseDownTo(std::size_t count);

    std::vector<std::unique_ptr<Matrix>> live_;
    std::vector<ScopeMark> marks_;
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

// Ends the process with exit status 1 after writing the diagnostic on stderr.
// Used for operand shapes that do not fit: a programming error, never data.
[[noreturn]] void FatalMatrixError(const char* diagnostic);

// The diagnostics of the fatal stop.
inline constexpr const char* kProductShapeError = "MATRICES DESIGUALES EN PRODUCTO DE MATRICES .* !!!";
inline constexpr const char* kJoinShapeError = "MATRICES DESIGUALES EN LA CONSTRUCCION DE LA SUPERMATRIZ!!!";
inline constexpr const char* kSubMatrixIndexError = "";
