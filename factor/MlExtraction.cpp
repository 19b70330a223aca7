#include "factor/MlExtraction.h"

#include <cmath>
#include <utility>
#include <vector>

#include "factor/CholeskyFactor.h"
#include "factor/Inverse.h"
#include "factor/MlDiscrepancy.h"
#include "factor/MlLoadings.h"
#include "factor/SymmetricSolve.h"
#include "matrix/MatrixInPlace.h"
#include "matrix/MatrixOps.h"

namespace talver {

namespace {

// The iterations run on the correlation form of s, where every variance is
// 1: a unique variance stays at or above 0.001 of its item's variance
// (ln 0.001), and the stop rule compares changes with the unit scale.
// The discrepancy is free of the scale, and the loadings scale back with the
// standard deviations, so scores in any units give the same solution.
constexpr double kLogLowerBound = -6.907755278982137;
// Converged once both the change of loadings and unique variances and the
// change of the discrepancy fall below kTolerance; the iterations then go on,
// within the same limit and while the discrepancy does not rise, until the
// change falls below kPolished, which leaves the loadings within about 1e-8
// of the minimum.
constexpr double kTolerance = 1e-5;
constexpr double kPolished = 1e-10;
constexpr int kMaxIterations = 100;

// The state carried from one iteration to the next.
struct NewtonState {
    Matrix* lambda; // p x m, loadings of the last iteration (zero at first)
    Matrix* psi;    // p x 1, unique variances
    Matrix* theta;  // p x 1, their logarithms
    Matrix* mask;   // p x 1, 1 for a unique variance above the bound, else 0
    double f;
};

// The Newton step for theta = ln psi: the gradient g times the generalised
// inverse of the approximate Hessian, whose rows and columns of fixed unique
// variances are zero, so that their step is 0. Where no pivot of the free
// unique variances' system is dropped, the generalised inverse is its
// inverse, and an LDL' solve gives the step in a sixth of the work.
Matrix* NewtonStep(const Matrix* s, const NewtonState& state, const Matrix* gamma,
                   const Matrix* omega)
{
    const int p = s->Rows();
    const int m = omega->Cols();
    Matrix* result = NewMatrix(p, 1);
    MatrixScope scope;
    Matrix* gradient = NewMatrix(p, 1);
    for (int i = 0; i < p; ++i) {
        double sum = 0.0;
        for (int k = 0; k < m; ++k) {
            sum += ((*gamma)(k, 0) - 1.0) * ((*omega)(i, k) * (*omega)(i, k));
        }
        (*gradient)(i, 0) = sum + 1.0 - (*s)(i, i) / (*state.psi)(i, 0);
    }
    // H = Diag(g) + ((I - omega omega') squared element-wise); element (i, j)
    // and (j, i) are the same sum, so H is exactly symmetric.
    auto hessianElement = [&](int i, int j) {
        double projection = 0.0;
        for (int k = 0; k < m; ++k) {
            projection += (*omega)(i, k) * (*omega)(j, k);
        }
        const double residual = (i == j ? 1.0 : 0.0) - projection;
        return (i == j ? (*gradient)(i, 0) : 0.0) + residual * residual;
    };

    std::vector<int> freeItems;
    for (int i = 0; i < p; ++i) {
        if ((*state.mask)(i, 0) != 0.0) {
            freeItems.push_back(i);
        }
    }
    // The solve reads the lower triangle of the free items' system.
    const int n = static_cast<int>(freeItems.size());
    std::vector<double> system(static_cast<std::size_t>(n) * n);
    std::vector<double> right(n);
    for (int a = 0; a < n; ++a) {
        right[a] = (*gradient)(freeItems[a], 0);
        for (int b = 0; b <= a; ++b) {
            system[static_cast<std::size_t>(a) * n + b] = hessianElement(freeItems[a], freeItems[b]);
        }
    }
    std::vector<double> solution;
    if (SolveSymmetricWithClearPivots(std::move(system), right, n, kDroppedPivot, solution)) {
        for (int a = 0; a < n; ++a) {
            (*result)(freeItems[a], 0) = solution[a];
        }
        return result;
    }
    Matrix* hessian = NewMatrix(p, p);
    for (int i = 0; i < p; ++i) {
        for (int j = 0; j < p; ++j) {
            (*hessian)(i, j) = hessianElement(i, j) * (*state.mask)(i, 0) * (*state.mask)(j, 0);
        }
    }
    const Matrix* step = Product(GeneralizedInverse(hessian), gradient);
    for (int i = 0; i < p; ++i) {
        (*result)(i, 0) = (*step)(i, 0);
    }
    return result;
}

// Length of the change vector Vec(lambda - state.lambda) stacked over
// psi - state.psi. For a single column its largest singular value is the
// root of its sum of squares (0 unless that is positive), summed down the
// column; computed directly, without the decomposition's matrices.
double ChangeLength(const Matrix* lambda, const Matrix* psi, const NewtonState& state)
{
    double sum = 0.0;
    for (int k = 0; k < lambda->Cols(); ++k) {
        for (int i = 0; i < lambda->Rows(); ++i) {
            const double change = (*lambda)(i, k) - (*state.lambda)(i, k);
            sum += change * change;
        }
    }
    for (int i = 0; i < psi->Rows(); ++i) {
        const double change = (*psi)(i, 0) - (*state.psi)(i, 0);
        sum += change * change;
    }
    return sum > 0.0 ? std::sqrt(sum) : 0.0;
}

struct Progress {
    double change;     // length of the change of loadings and unique variances
    double fallOfF;    // the previous discrepancy minus the new one
};

// One iteration: moves state on and tells how far it moved.
Progress Iterate(const Matrix* s, double logDeterminantOfS, NewtonState& state)
{
    MatrixScope scope;
    const int p = s->Rows();
    const int m = state.lambda->Cols();
    Matrix* gamma = NewMatrix(m, 1);
    Matrix* omega = NewMatrix(p, m);
    const Matrix* lambda = MlLoadings(s, state.psi, gamma, omega);
    const Matrix* step = NewtonStep(s, state, gamma, omega);

    // A unique variance that steps to the bound or below is held there, and
    // its zero mask entry keeps its later steps at 0.
    Matrix* psi = NewMatrix(p, 1);
    for (int i = 0; i < p; ++i) {
        const double stepped = (*state.theta)(i, 0) - (*step)(i, 0);
        const double isFree = stepped > kLogLowerBound ? 1.0 : 0.0;
        const double clamped = isFree * stepped + (1.0 - isFree) * kLogLowerBound;
        (*state.mask)(i, 0) = isFree;
        (*state.theta)(i, 0) = clamped;
        (*psi)(i, 0) = std::exp(clamped);
    }
    const double f = MlDiscrepancy(lambda, psi, s, logDeterminantOfS);
    const Progress progress{ChangeLength(lambda, psi, state), state.f - f};

    for (int i = 0; i < p; ++i) {
        for (int k = 0; k < m; ++k) {
            (*state.lambda)(i, k) = (*lambda)(i, k);
        }
        (*state.psi)(i, 0) = (*psi)(i, 0);
    }
    state.f = f;
    return progress;
}

// True, with the loadings and discrepancy filled in, when the iterations
// converge to finite values.
bool FitMaximumLikelihood(const Matrix* covariances, int m, Matrix* loadings, double& f)
{
    MatrixScope scope;
    const int p = covariances->Rows();
    std::vector<double> deviation(p);
    for (int i = 0; i < p; ++i) {
        deviation[i] = std::sqrt((*covariances)(i, i));
        if (!(deviation[i] > 0.0) || !std::isfinite(deviation[i])) {
            return false;
        }
    }
    // A correlation matrix comes through unchanged: its deviations are 1.
    Matrix* s = NewMatrix(p, p);
    for (int i = 0; i < p; ++i) {
        for (int j = 0; j < p; ++j) {
            (*s)(i, j) = (*covariances)(i, j) / deviation[i] / deviation[j];
        }
    }
    // A singular s (or one that is not positive definite) has no Cholesky
    // factor and no fit.
    std::vector<double> factor = s->Elements();
    if (!CholeskyInPlace(factor, p)) {
        return false;
    }
    const double logDeterminantOfS = LogDeterminantOfFactor(factor, p);
    const std::vector<double> inverseDiagonal = DiagonalOfInverse(factor, p);

    NewtonState state{NewMatrix(p, m), NewMatrix(p, 1), NewMatrix(p, 1), Ones(p, 1), 0.0};
    const double start = 1.0 - m / (2.0 * p);
    for (int i = 0; i < p; ++i) {
        (*state.psi)(i, 0) = start / inverseDiagonal[i];
        (*state.theta)(i, 0) = std::log((*state.psi)(i, 0));
    }
    state.f = MlDiscrepancy(state.lambda, state.psi, s, logDeterminantOfS);

    bool converged = false;
    Matrix* best = NewMatrix(p, m);
    double bestF = 0.0;
    for (int iteration = 0; iteration < kMaxIterations; ++iteration) {
        const Progress progress = Iterate(s, logDeterminantOfS, state);
        if (converged && !(progress.fallOfF >= 0.0)) {
            break; // rounding has the last word: keep the fit before
        }
        if (!converged) {
            converged = progress.change < kTolerance && std::fabs(progress.fallOfF) < kTolerance;
        }
        if (converged) {
            CopyValues(state.lambda, best);
            bestF = state.f;
            if (progress.change < kPolished) {
                break;
            }
        }
    }
    if (!converged || !AllFinite(best) || !std::isfinite(bestF)) {
        return false;
    }
    for (int i = 0; i < p; ++i) {
        for (int k = 0; k < m; ++k) {
            (*loadings)(i, k) = deviation[i] * (*best)(i, k);
        }
    }
    f = bestF;
    return true;
}

} // namespace

void ExtractMaximumLikelihood(const Matrix* s, Matrix*& loadings, int m, double& f)
{
    if (!FitMaximumLikelihood(s, m, loadings, f)) {
        loadings = nullptr;
        f = 0.0;
    }
}

} // namespace talver
