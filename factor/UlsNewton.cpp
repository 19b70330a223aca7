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

namespace {

constexpr int kMaxSteps = 100;
constexpr int kMaxHalvings = 40;
// Stop once no unique variance moves by more than this share of the largest
// variance: Newton converges quadratically, so the loadings in hand are then
// within about 1e-8 of the minimum (the R fixtures ask 1e-6), and the step
// after it could not lower f beyond its rounding.
constexpr double kRelativeStep = 1e-8;

struct PsiFit {
    double f = 0.0;
    std::vector<double> residualDiagonal; // R_ii
    SymmetricEigenpairs eigen;
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
    double Variance(int i) const { return s_[Index(i, i)]; }

    // The fit at psi.
    PsiFit Evaluate(const std::vector<double>& psi) const
    {
        std::vector<double> a = s_;
        for (int i = 0; i < p_; ++i) {
            a[Index(i, i)] -= psi[i];
        }
        PsiFit fit;
        fit.eigen = SolveSymmetricEigen(std::move(a), p_);
        fit.residualDiagonal.assign(p_, 0.0);
        for (int k = 0; k < p_; ++k) {
            const double e = fit.eigen.values[k];
            // A leading eigenvalue below 0 cannot be fitted by real loadings.
            const double residual = k < m_ ? std::min(e, 0.0) : e;
            fit.f += 0.5 * residual * residual;
            for (int i = 0; i < p_; ++i) {
                const double u = Vector(fit, i, k);
                fit.residualDiagonal[i] += residual * u * u;
            }
        }
        return fit;
    }

    // The Hessian with or without its second-order term; false when the
    // exact one is undefined (a leading eigenvalue not above the others).
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
        std::vector<double> rows(static_cast<std::size_t>(p_) * p_);
        for (int i = 0; i < p_; ++i) {
            for (int k = 0; k < p_; ++k) {
                rows[Index(k, i)] = Vector(fit, i, k);
            }
        }
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
    double Vector(const PsiFit& fit, int i, int k) const { return fit.eigen.vectors[Index(i, k)]; }

    int p_;
    int m_;
    std::vector<double> s_;
};

// Solves h x = b for the free parameters by Cholesky decomposition; false
// when h restricted to them is not positive definite.
bool SolveFree(std::vector<double> h, std::vector<double> b, const std::vector<bool>& free, int n,
               std::vector<double>& x)
{
    std::vector<int> index;
    for (int i = 0; i < n; ++i) {
        if (free[i]) {
            index.push_back(i);
        }
    }
    const int f = static_cast<int>(index.size());
    std::vector<double> l(static_cast<std::size_t>(f) * f, 0.0);
    for (int a = 0; a < f; ++a) {
        for (int c = 0; c <= a; ++c) {
            double sum = h[static_cast<std::size_t>(index[a]) * n + index[c]];
            for (int k = 0; k < c; ++k) {
                sum -= l[static_cast<std::size_t>(a) * f + k] * l[static_cast<std::size_t>(c) * f + k];
            }
            if (a == c) {
                if (!(sum > 0.0)) {
                    return false;
                }
                l[static_cast<std::size_t>(a) * f + a] = std::sqrt(sum);
            } else {
                l[static_cast<std::size_t>(a) * f + c] = sum / l[static_cast<std::size_t>(c) * f + c];
            }
        }
    }
    std::vector<double> y(f);
    for (int a = 0; a < f; ++a) {
        double sum = b[index[a]];
        for (int k = 0; k < a; ++k) {
            sum -= l[static_cast<std::size_t>(a) * f + k] * y[k];
        }
        y[a] = sum / l[static_cast<std::size_t>(a) * f + a];
    }
    x.assign(n, 0.0);
    for (int a = f - 1; a >= 0; --a) {
        double sum = y[a];
        for (int k = a + 1; k < f; ++k) {
            sum -= l[static_cast<std::size_t>(k) * f + a] * x[index[k]];
        }
        x[index[a]] = sum / l[static_cast<std::size_t>(a) * f + a];
    }
    return true;
}

// The Newton direction, or the Gauss-Newton one where the Hessian is not
// positive definite, or steepest descent; zero for variances held at 0.
std::vector<double> Direction(const UniqueVarianceProblem& problem, const PsiFit& fit, const std::vector<double>& psi)
{
    const int p = problem.Items();
    std::vector<double> gradient(p);
    std::vector<bool> free(p);
    for (int i = 0; i < p; ++i) {
        gradient[i] = -fit.residualDiagonal[i];
        // A variance at its bound stays there while f would fall below it.
        free[i] = psi[i] > 0.0 || gradient[i] < 0.0;
    }
    std::vector<double> negative(p);
    for (int i = 0; i < p; ++i) {
        negative[i] = free[i] ? -gradient[i] : 0.0;
    }
    std::vector<double> h;
    std::vector<double> direction;
    for (bool exact : {true, false}) {
        if (problem.Hessian(fit, exact, h) && SolveFree(h, negative, free, p, direction)) {
            double slope = 0.0;
            for (int i = 0; i < p; ++i) {
                slope += gradient[i] * direction[i];
            }
            if (slope < 0.0) {
                return direction;
            }
        }
    }
    return negative;
}

// Newton steps from the unique variances psi to the nearest minimum.
// f is infinite when s has no positive variance or the fit is not finite.
UlsMinimum Minimized(const UniqueVarianceProblem& problem, std::vector<double> psi)
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
    PsiFit fit = problem.Evaluate(psi);
    for (int step = 0; step < kMaxSteps && std::isfinite(fit.f); ++step) {
        const std::vector<double> direction = Direction(problem, fit, psi);
        // A step this small changes the loadings by less than 1e-8 of
        // their size: the fit in hand is the minimum.
        double longest = 0.0;
        for (double d : direction) {
            longest = std::max(longest, std::fabs(d));
        }
        if (longest <= kRelativeStep * scale) {
            break;
        }
        std::vector<double> trial(p);
        PsiFit trialFit;
        bool lowered = false;
        double length = 1.0;
        // Halved no shorter than the stop rule's step: near the minimum a
        // Newton step of a few 1e-9 lowers f by less than its rounding, and
        // shorter ones cannot do better than the fit in hand.
        for (int halving = 0; halving < kMaxHalvings && !lowered && length * longest > kRelativeStep * scale;
             ++halving, length *= 0.5) {
            for (int i = 0; i < p; ++i) {
                trial[i] = std::max(psi[i] + length * direction[i], 0.0);
            }
            trialFit = problem.Evaluate(trial);
            lowered = trialFit.f < fit.f;
        }
        if (!lowered) {
            break; // at the minimum within rounding
        }
        psi = trial;
        fit = std::move(trialFit);
    }
    std::vector<double> loadings = problem.Loadings(fit);
    if (!std::isfinite(fit.f) ||
        !std::all_of(loadings.begin(), loadings.end(), [](double v) { return std::isfinite(v); })) {
        return result;
    }
    return {fit.f, std::move(psi), std::move(loadings)};
}

} // namespace

UlsMinimum MinimizeOverUniqueVariances(const Matrix* s, int m, const std::vector<double>& psi)
{
    return Minimized(UniqueVarianceProblem(s, m), psi);
}

} // namespace talver
