#include "factor/UlsNewton.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>
#include <vector>

#include "factor/SymmetricEigenSolver.h"

namespace talver {

// The unique variances psi determine the best loadings: the leading m
// eigenpairs of A = S - diag(psi). What remains, R = A - L L', has the other
// eigenvalues e_k (k >= m), and f(psi) = 1/2 sum e_k^2. The gradient is
// df/dpsi_i = -R_ii and, from first-order eigen perturbation, the Hessian is
//   H_ij = (sum_k u_ik u_jk)^2
//        + 2 sum_k sum_l e_k / (e_k - e_l) u_ik u_jk u_il u_jl,
// k over the residual eigenpairs, l over the leading ones; the first term
// alone is a positive semi-definite Gauss-Newton approximation. This is the
// minimum-residual method of Harman and Jones (1966) in the form that
// common implementations give it (optimisation over the unique variances).
//
// f and its gradient need only the eigenvalues and the m leading vectors
// (R_ii = A_ii - sum_l e_l u_il^2); the exact Hessian needs every vector
// and costs O(p^2 m (p - m)) more. So the steps take a Hessian from the
// leading pairs alone, its second-order term to first order in e_k / e_l
// (small where the factors stand out of the residuals), formed again at
// every step for O(p^2 m), and turn to the exact Hessian for good where
// the approximation fails (a Newton method with an approximate Hessian,
// whose steps shrink linearly at the rate of its error: Dennis and
// Schnabel, Numerical Methods for Unconstrained Optimization and Nonlinear
// Equations, SIAM 1996, section 5.4). The Hessian only chooses the steps:
// where they end, the gradient vanishes to the stop rule whichever Hessian
// chose them.

namespace {

constexpr int kMaxSteps = 100;
constexpr int kMaxHalvings = 40;
// Stop once no unique variance would move by more than this share of the
// largest variance: the loadings in hand are then within about 1e-10 of
// the minimum (the R fixtures ask 1e-6), whatever the item order.
constexpr double kRelativeStep = 1e-10;
// Steps below this share of the largest variance change f by less than its
// rounding can show; they are taken where they lower the gradient instead.
constexpr double kRoundingStep = 1e-6;
// The approximate Hessian gives way to the exact one when its step is not
// at most this share of the step before it: near a minimum Newton's steps
// shrink far faster, and so do those of a good approximation.
constexpr double kContraction = 0.25;

struct PsiFit {
    double f = 0.0;
    std::vector<double> residualDiagonal; // R_ii
    SymmetricEigenpairs eigen;
    int columns = 0; // eigenvectors held: all p, or the m leading ones
};

class UniqueVarianceProblem {
public:
    UniqueVarianceProblem(const Matrix* s, int m) : p_(s->Rows()), m_(m), s_(static_cast<std::size_t>(p_) * p_)
    {
        for (int i = 0; i < p_; ++i) {
            for (int j = 0; j < p_; ++j) {
                s_[Index(i, j)] = (*s)(i, j);
            }
        }
    }

    int Items() const { return p_; }
    int Factors() const { return m_; }
    double Variance(int i) const { return s_[Index(i, i)]; }

    // The fit at psi, with every eigenvector (as the Hessian needs them) or
    // the m leading ones; f is the same to the bit either way, being made
    // of the very same eigenvalues.
    PsiFit Evaluate(const std::vector<double>& psi, bool allVectors) const
    {
        std::vector<double> a = s_;
        for (int i = 0; i < p_; ++i) {
            a[Index(i, i)] -= psi[i];
        }
        PsiFit fit;
        fit.columns = allVectors ? p_ : m_;
        fit.eigen = allVectors ? SolveSymmetricEigen(std::move(a), p_) : SolveLeadingSymmetricEigen(std::move(a), p_, m_);
        for (int k = 0; k < p_; ++k) {
            const double e = fit.eigen.values[k];
            // A leading eigenvalue below 0 cannot be fitted by real loadings.
            const double residual = k < m_ ? std::min(e, 0.0) : e;
            fit.f += 0.5 * residual * residual;
        }
        fit.residualDiagonal.resize(p_);
        for (int i = 0; i < p_; ++i) {
            double common = 0.0;
            for (int k = 0; k < m_; ++k) {
                const double u = Vector(fit, i, k);
                common += std::max(fit.eigen.values[k], 0.0) * u * u;
            }
            fit.residualDiagonal[i] = (Variance(i) - psi[i]) - common;
        }
        return fit;
    }

    // The Hessian with or without its second-order term from a fit with
    // every eigenvector; false when the exact one is undefined (a leading
    // eigenvalue not above the others).
    bool Hessian(const PsiFit& fit, bool exact, std::vector<double>& h) const
    {
        const int residuals = p_ - m_;
        // Weights of the second-order term, one per residual and leading pair.
        std::vector<double> weight(static_cast<std::size_t>(residuals) * m_, 0.0);
        if (exact) {
            for (int k = m_; k < p_; ++k) {
                for (int l = 0; l < m_; ++l) {
                    const double gap = fit.eigen.values[k] - fit.eigen.values[l];
                    if (!(gap < 0.0) || fit.eigen.values[l] <= 0.0) {
                        return false;
                    }
                    weight[static_cast<std::size_t>(k - m_) * m_ + l] = 2.0 * fit.eigen.values[k] / gap;
                }
            }
        }
        h.assign(static_cast<std::size_t>(p_) * p_, 0.0);
        // Row i of h at once, j = 0..i along memory: the eigenvectors are
        // read as rows (vector k in row k), and every h_ij gets the same
        // sums in the same order as one element at a time.
        const std::vector<double> rows = VectorsAsRows(fit, p_);
        std::vector<double> projection(p_);
        std::vector<double> second(p_);
        std::vector<double> uu(p_);
        for (int i = 0; i < p_; ++i) {
            std::fill(projection.begin(), projection.begin() + i + 1, 0.0);
            std::fill(second.begin(), second.begin() + i + 1, 0.0);
            for (int k = m_; k < p_; ++k) {
                const double vik = Vector(fit, i, k);
                const double* vk = &rows[Index(k, 0)];
                for (int j = 0; j <= i; ++j) {
                    uu[j] = vik * vk[j];
                    projection[j] += uu[j];
                }
                if (exact) {
                    const double* w = &weight[static_cast<std::size_t>(k - m_) * m_];
                    for (int l = 0; l < m_; ++l) {
                        const double wil = w[l];
                        const double vil = Vector(fit, i, l);
                        const double* vl = &rows[Index(l, 0)];
                        for (int j = 0; j <= i; ++j) {
                            second[j] += wil * uu[j] * vil * vl[j];
                        }
                    }
                }
            }
            for (int j = 0; j <= i; ++j) {
                h[Index(i, j)] = h[Index(j, i)] = projection[j] * projection[j] + second[j];
            }
        }
        return true;
    }

    // The Hessian from the leading eigenpairs alone: the Gauss-Newton part
    // is P o P with P = I - V V', and the second-order term to first order
    // in e_k / e_l (e_k / (e_k - e_l) = -e_k / e_l - (e_k / e_l)^2 - ...) is
    // -2 R o (V E^-1 V'), R = A - V E V' the residual matrix, o the
    // elementwise product; O(p^2 m) instead of a full decomposition and
    // O(p^2 m (p - m)). Without the second-order term, or false where the
    // series does not converge (a residual eigenvalue not smaller in size
    // than every leading one).
    bool LeadingHessian(const PsiFit& fit, const std::vector<double>& psi, bool second, std::vector<double>& h) const
    {
        const std::vector<double>& e = fit.eigen.values;
        if (second && !(std::max(std::fabs(e[m_]), std::fabs(e[p_ - 1])) < e[m_ - 1])) {
            return false;
        }
        h.assign(static_cast<std::size_t>(p_) * p_, 0.0);
        // Row i at once, j = 0..i along memory, the vectors read as rows
        // (vector l in row l); each element gets its sums over l in order.
        const std::vector<double> rows = VectorsAsRows(fit, m_);
        std::vector<double> projection(p_);
        std::vector<double> reproduced(p_);
        std::vector<double> inverse(p_);
        for (int i = 0; i < p_; ++i) {
            std::fill(projection.begin(), projection.begin() + i + 1, 0.0);
            std::fill(reproduced.begin(), reproduced.begin() + i + 1, 0.0);
            std::fill(inverse.begin(), inverse.begin() + i + 1, 0.0);
            projection[i] = 1.0;
            for (int l = 0; l < m_; ++l) {
                const double* vl = &rows[static_cast<std::size_t>(l) * p_];
                const double vil = vl[i];
                const double value = e[l];
                for (int j = 0; j <= i; ++j) {
                    const double u = vil * vl[j];
                    projection[j] -= u;
                    reproduced[j] += value * u;
                }
                if (second) {
                    // Every leading value is above 0 here (checked above).
                    for (int j = 0; j <= i; ++j) {
                        inverse[j] += vil * vl[j] / value;
                    }
                }
            }
            const double* si = &s_[Index(i, 0)];
            for (int j = 0; j <= i; ++j) {
                double element = projection[j] * projection[j];
                if (second) {
                    const double residual = (si[j] - (i == j ? psi[i] : 0.0)) - reproduced[j];
                    element -= 2.0 * residual * inverse[j];
                }
                h[Index(i, j)] = h[Index(j, i)] = element;
            }
        }
        return true;
    }

    // Loadings of the leading eigenpairs, p x m row-major, each column with
    // a non-negative sum. A unique variance held at 0 can leave its item a
    // communality above its variance; that row is scaled back to it, so that
    // no residual variance of S - L L' falls below 0.
    std::vector<double> Loadings(const PsiFit& fit) const
    {
        std::vector<double> lambda(static_cast<std::size_t>(p_) * m_);
        for (int k = 0; k < m_; ++k) {
            const double root = std::sqrt(std::max(fit.eigen.values[k], 0.0));
            double sum = 0.0;
            for (int i = 0; i < p_; ++i) {
                sum += Vector(fit, i, k);
            }
            const double sign = sum < 0.0 ? -1.0 : 1.0;
            for (int i = 0; i < p_; ++i) {
                lambda[static_cast<std::size_t>(i) * m_ + k] = sign * root * Vector(fit, i, k);
            }
        }
        for (int i = 0; i < p_; ++i) {
            double* row = &lambda[static_cast<std::size_t>(i) * m_];
            double communality = 0.0;
            for (int k = 0; k < m_; ++k) {
                communality += row[k] * row[k];
            }
            if (communality > Variance(i)) {
                const double shrink = std::sqrt(Variance(i) / communality);
                for (int k = 0; k < m_; ++k) {
                    row[k] *= shrink;
                }
            }
        }
        return lambda;
    }

private:
    std::size_t Index(int i, int j) const { return static_cast<std::size_t>(i) * p_ + j; }
    static double Vector(const PsiFit& fit, int i, int k)
    {
        return fit.eigen.vectors[static_cast<std::size_t>(i) * fit.columns + k];
    }
    // The first `count` eigenvectors as rows (vector k in row k), so that a
    // Hessian row reads them along memory.
    std::vector<double> VectorsAsRows(const PsiFit& fit, int count) const
    {
        std::vector<double> rows(static_cast<std::size_t>(count) * p_);
        for (int i = 0; i < p_; ++i) {
            for (int k = 0; k < count; ++k) {
                rows[Index(k, i)] = Vector(fit, i, k);
            }
        }
        return rows;
    }

    int p_;
    int m_;
    std::vector<double> s_;
};

// The Cholesky factor of a Hessian restricted to the free unique variances.
class FreeCholesky {
public:
    // False when h restricted to the free parameters is not positive definite.
    bool Factor(const std::vector<double>& h, const std::vector<bool>& free, int n)
    {
        index_.clear();
        for (int i = 0; i < n; ++i) {
            if (free[i]) {
                index_.push_back(i);
            }
        }
        const int f = static_cast<int>(index_.size());
        l_.assign(static_cast<std::size_t>(f) * f, 0.0);
        for (int a = 0; a < f; ++a) {
            for (int c = 0; c <= a; ++c) {
                double sum = h[static_cast<std::size_t>(index_[a]) * n + index_[c]];
                for (int k = 0; k < c; ++k) {
                    sum -= L(a, k) * L(c, k);
                }
                if (a == c) {
                    if (!(sum > 0.0)) {
                        return false;
                    }
                    L(a, a) = std::sqrt(sum);
                } else {
                    L(a, c) = sum / L(c, c);
                }
            }
        }
        return true;
    }

    // x = h^-1 b on the free parameters, 0 elsewhere.
    void Solve(const std::vector<double>& b, int n, std::vector<double>& x) const
    {
        const int f = static_cast<int>(index_.size());
        std::vector<double> y(f);
        for (int a = 0; a < f; ++a) {
            double sum = b[index_[a]];
            for (int k = 0; k < a; ++k) {
                sum -= L(a, k) * y[k];
            }
            y[a] = sum / L(a, a);
        }
        x.assign(n, 0.0);
        for (int a = f - 1; a >= 0; --a) {
            double sum = y[a];
            for (int k = a + 1; k < f; ++k) {
                sum -= L(k, a) * x[index_[k]];
            }
            x[index_[a]] = sum / L(a, a);
        }
    }

private:
    double& L(int a, int c) { return l_[static_cast<std::size_t>(a) * index_.size() + c]; }
    double L(int a, int c) const { return l_[static_cast<std::size_t>(a) * index_.size() + c]; }

    std::vector<int> index_;
    std::vector<double> l_;
};

// The Hessian of one point: exact where it is defined and positive definite
// on the free variances, or its leading-pair approximation; else the
// Gauss-Newton part.
class NewtonModel {
public:
    explicit NewtonModel(const UniqueVarianceProblem& problem) : problem_(problem) {}

    // The exact Hessian, from a fit with every eigenvector.
    void FormExact(const PsiFit& fit)
    {
        basis_ = fit;
        psi_.clear();
        second_ = problem_.Hessian(basis_, true, h_);
        if (!second_) {
            problem_.Hessian(basis_, false, h_);
        }
        exact_ = true;
    }

    // The leading-pair approximation, from any fit at psi.
    void FormApproximate(const PsiFit& fit, const std::vector<double>& psi)
    {
        basis_ = fit;
        psi_ = psi;
        second_ = problem_.LeadingHessian(basis_, psi_, true, h_);
        if (!second_) {
            problem_.LeadingHessian(basis_, psi_, false, h_);
        }
        exact_ = false;
    }

    bool Exact() const { return exact_; }

    // The model's direction for the negative gradient b on the free
    // variances: false when neither Hessian gives a descent direction.
    bool Direction(const std::vector<double>& b, const std::vector<double>& gradient, const std::vector<bool>& free,
                   std::vector<double>& direction)
    {
        const int p = problem_.Items();
        for (;;) {
            if (factor_.Factor(h_, free, p)) {
                factor_.Solve(b, p, direction);
                double slope = 0.0;
                for (int i = 0; i < p; ++i) {
                    slope += gradient[i] * direction[i];
                }
                if (slope < 0.0) {
                    return true;
                }
            }
            if (!second_) {
                return false;
            }
            second_ = false;
            if (exact_) {
                problem_.Hessian(basis_, false, h_);
            } else {
                problem_.LeadingHessian(basis_, psi_, false, h_);
            }
        }
    }

private:
    const UniqueVarianceProblem& problem_;
    PsiFit basis_;
    std::vector<double> psi_;
    std::vector<double> h_;
    bool exact_ = false;
    bool second_ = false;
    FreeCholesky factor_;
};

// The largest gradient element that a step could follow: a variance held
// at its bound counts only where f would fall with it rising.
double ProjectedGradient(const PsiFit& fit, const std::vector<double>& psi)
{
    double largest = 0.0;
    for (std::size_t i = 0; i < psi.size(); ++i) {
        const double gradient = -fit.residualDiagonal[i];
        if (psi[i] > 0.0 || gradient < 0.0) {
            largest = std::max(largest, std::fabs(gradient));
        }
    }
    return largest;
}

// Newton steps from the unique variances psi to the nearest minimum.
// f is infinite when s has no positive variance or the fit is not finite.
UlsMinimum Minimized(const UniqueVarianceProblem& problem, std::vector<double> psi, bool exactSteps)
{
    const int p = problem.Items();
    double scale = 0.0;
    for (int i = 0; i < p; ++i) {
        scale = std::max(scale, problem.Variance(i));
    }
    UlsMinimum result{std::numeric_limits<double>::infinity(), {}, {}};
    if (!(scale > 0.0) || !std::isfinite(scale)) {
        return result;
    }
    NewtonModel model(problem);
    PsiFit fit = problem.Evaluate(psi, exactSteps);
    // The exact Hessian from here on: asked for, or the approximation
    // failed (no descent, a step cut short or not shrinking fast).
    bool exactHessian = exactSteps;
    // The Hessian of the fit in hand, from its leading pairs or from a full
    // decomposition at psi.
    auto formHere = [&]() {
        if (exactHessian) {
            if (fit.columns != p) {
                fit = problem.Evaluate(psi, true);
            }
            model.FormExact(fit);
        } else {
            model.FormApproximate(fit, psi);
        }
    };
    double lastLongest = std::numeric_limits<double>::infinity();
    std::vector<double> gradient(p);
    std::vector<bool> free(p);
    std::vector<double> negative(p);
    std::vector<double> direction;
    std::vector<double> trial(p);
    for (int step = 0; step < kMaxSteps && std::isfinite(fit.f); ++step) {
        formHere();
        for (int i = 0; i < p; ++i) {
            gradient[i] = -fit.residualDiagonal[i];
            // A variance at its bound stays there while f would fall below it.
            free[i] = psi[i] > 0.0 || gradient[i] < 0.0;
            negative[i] = free[i] ? -gradient[i] : 0.0;
        }
        bool modelled = model.Direction(negative, gradient, free, direction);
        double longest = 0.0;
        for (double d : direction) {
            longest = std::max(longest, std::fabs(d));
        }
        if (!exactHessian && (!modelled || longest > kContraction * lastLongest)) {
            exactHessian = true;
            formHere();
            modelled = model.Direction(negative, gradient, free, direction);
            longest = 0.0;
            for (double d : direction) {
                longest = std::max(longest, std::fabs(d));
            }
        }
        if (!modelled) {
            direction = negative; // steepest descent
            longest = 0.0;
            for (double d : direction) {
                longest = std::max(longest, std::fabs(d));
            }
        }
        // A step this small changes the loadings by less than 1e-10 of
        // their size: the fit in hand is the minimum.
        if (longest <= kRelativeStep * scale) {
            break;
        }
        PsiFit trialFit;
        bool lowered = false;
        bool whole = true; // the step taken at its full length
        double length = 1.0;
        // Halved no shorter than the stop rule's step: shorter ones cannot
        // do better than the fit in hand.
        for (int halving = 0; halving < kMaxHalvings && !lowered && length * longest > kRelativeStep * scale;
             ++halving, length *= 0.5) {
            for (int i = 0; i < p; ++i) {
                trial[i] = std::max(psi[i] + length * direction[i], 0.0);
            }
            trialFit = problem.Evaluate(trial, false);
            lowered = trialFit.f < fit.f ||
                      (length * longest <= kRoundingStep * scale && trialFit.f <= fit.f * (1.0 + 1e-12) &&
                       ProjectedGradient(trialFit, trial) < ProjectedGradient(fit, psi));
            whole = whole && lowered;
        }
        if (!lowered) {
            if (!exactHessian) {
                exactHessian = true;
                --step;
                continue;
            }
            break; // at the minimum within rounding
        }
        psi = trial;
        fit = std::move(trialFit);
        // A step cut short says the approximation is poor here.
        lastLongest = whole ? longest : 0.0;
    }
    std::vector<double> loadings = problem.Loadings(fit);
    if (!std::isfinite(fit.f) ||
        !std::all_of(loadings.begin(), loadings.end(), [](double v) { return std::isfinite(v); })) {
        return result;
    }
    return {fit.f, std::move(psi), std::move(loadings)};
}

} // namespace

UlsMinimum MinimizeOverUniqueVariances(const Matrix* s, int m, const std::vector<double>& psi, bool exactSteps)
{
    return Minimized(UniqueVarianceProblem(s, m), psi, exactSteps);
}

} // namespace talver
