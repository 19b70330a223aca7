#include "stats/PolychoricPair.h"

#include <cmath>
#include <utility>

#include "matrix/MatrixOps.h"
#include "stats/ContingencyTable.h"
#include "stats/ExactNormal.h"

namespace talver {

namespace {

constexpr double kRhoTolerance = 1e-10;
// Bisection alone reaches the tolerance from the whole interval in 35 steps.
constexpr int kMaxSteps = 200;

} // namespace

PolychoricModel::PolychoricModel(std::vector<double> a, std::vector<double> b)
    : rows_(static_cast<int>(b.size()) - 1),
      cols_(static_cast<int>(a.size()) - 1),
      a_(std::move(a)),
      b_(std::move(b)),
      cornerCdf_((cols_ + 1) * (rows_ + 1)),
      cornerDensity_(cornerCdf_.size()),
      cornerSlope_(cornerCdf_.size()),
      probabilities_(rows_ * cols_),
      derivatives_(rows_ * cols_),
      slopes_(rows_ * cols_)
{
    for (double h : a_) {
        cdfA_.push_back(ExactNormalCdf(h));
    }
    for (double k : b_) {
        cdfB_.push_back(ExactNormalCdf(k));
    }
    // A corner on an infinite threshold has the same probability at every
    // rho (0, or the other item's marginal) and no density: it is computed
    // here once, by the same expressions, and only the others per rho.
    static const BivariateNormalAtRho anyRho(0.0);
    for (int x = 0; x <= cols_; ++x) {
        for (int y = 0; y <= rows_; ++y) {
            const int corner = Corner(x, y);
            if (std::isfinite(a_[x]) && std::isfinite(b_[y])) {
                finiteCorners_.push_back(corner);
            } else {
                cornerCdf_[corner] = anyRho.LowerOrthant(a_[x], b_[y], cdfA_[x], cdfB_[y]);
                cornerDensity_[corner] = anyRho.Density(a_[x], b_[y]);
                cornerSlope_[corner] = anyRho.DensitySlope(a_[x], b_[y], cornerDensity_[corner]);
            }
        }
    }
}

void PolychoricModel::Evaluate(double rho)
{
    const BivariateNormalAtRho at(rho);
    for (const int corner : finiteCorners_) {
        const int x = corner / (rows_ + 1);
        const int y = corner % (rows_ + 1);
        cornerCdf_[corner] = at.LowerOrthant(a_[x], b_[y], cdfA_[x], cdfB_[y]);
        cornerDensity_[corner] = at.Density(a_[x], b_[y]);
        cornerSlope_[corner] = at.DensitySlope(a_[x], b_[y], cornerDensity_[corner]);
    }
    // Cell (c, s) lies between a_c and a_{c+1} and between b_s and b_{s+1};
    // the corners on a lower infinite threshold are exactly 0.
    const auto fill = [this](const std::vector<double>& corners, std::vector<double>& cells) {
        for (int c = 0; c < cols_; ++c) {
            for (int s = 0; s < rows_; ++s) {
                cells[Cell(rows_ - 1 - s, c)] = corners[Corner(c + 1, s + 1)] - corners[Corner(c + 1, s)]
                    - corners[Corner(c, s + 1)] + corners[Corner(c, s)];
            }
        }
    };
    fill(cornerCdf_, probabilities_);
    fill(cornerDensity_, derivatives_);
    fill(cornerSlope_, slopes_);
}

PolychoricScore EvaluatePolychoricScore(PolychoricModel& model, const Matrix* proportions, double rho)
{
    model.Evaluate(rho);
    PolychoricScore result{true, 0.0, 0.0};
    for (int c = 0; c < proportions->Cols(); ++c) {
        for (int r = 0; r < proportions->Rows(); ++r) {
            const double share = (*proportions)(r, c);
            if (share == 0.0) {
                continue;
            }
            const double pi = model.Probability(r, c);
            if (!(pi > 0.0)) {
                result.withinModel = false;
                continue;
            }
            const double ratio = model.Derivative(r, c) / pi;
            result.score += share * ratio;
            result.slope += share * (model.SecondDerivative(r, c) / pi - ratio * ratio);
        }
    }
    if (!std::isfinite(result.score)) {
        result.withinModel = false;
    }
    return result;
}

double PolychoricPairCorrelation(const Matrix* table, const std::vector<double>& a, const std::vector<double>& b)
{
    MatrixScope scope;
    const Matrix* proportions = DividedBy(table, CellTotal(table));
    PolychoricModel model(a, b);

    // Newton steps on the score, kept inside the bracket [lower, upper] that
    // holds the root, bisection where a step would leave it (Press et al.,
    // Numerical Recipes, rtsafe, with its test of the step's progress). The bounds of the bracket are tried as
    // they are before they are halved, so that a likelihood still rising at
    // the largest correlation ends there in one step.
    double lower = -kLargestPolychoricCorrelation;
    double upper = kLargestPolychoricCorrelation;
    bool lowerKnown = false;
    bool upperKnown = false;
    double rho = 0.0;
    double lastStep = 2.0;
    double stepBeforeLast = 2.0;
    for (int step = 0; step < kMaxSteps; ++step) {
        const PolychoricScore s = EvaluatePolychoricScore(model, proportions, rho);
        // Towards a bound the only cells that still change with rho may be
        // empty ones (a zero cell of a 2 x 2 table): then score and slope
        // vanish in double precision, the likelihood being at its supremum
        // to the last bit, which it reaches at the bound.
        const bool flat = s.withinModel && s.score == 0.0 && s.slope == 0.0 && rho != 0.0;
        if (s.withinModel && s.score == 0.0 && !flat) {
            return rho;
        }
        // Where a cell with cases has no probability left, the likelihood
        // is 0: rho is beyond the maximum, on the side away from 0.
        const bool rising = flat ? rho > 0.0 : (s.withinModel ? s.score > 0.0 : rho < 0.0);
        if (rising) {
            if (rho == upper) {
                return rho;
            }
            lower = rho;
            lowerKnown = true;
        } else {
            if (rho == lower) {
                return rho;
            }
            upper = rho;
            upperKnown = true;
        }
        // Newton's step is taken only where it at least halves the step
        // before the last one: a score that only fades towards a bound (the
        // likelihood rising ever more slowly, up to a zero cell) would
        // otherwise be followed in ever shorter steps.
        const double newtonStep = s.withinModel && s.slope < 0.0 ? -s.score / s.slope : 0.0;
        const bool newton = newtonStep != 0.0 && std::fabs(newtonStep) <= std::fabs(stepBeforeLast) / 2.0;
        double next = newton ? rho + newtonStep : (rising ? upper : lower);
        if (!(next > lower && next < upper)) {
            if (next >= upper && !upperKnown) {
                next = upper;
            } else if (next <= lower && !lowerKnown) {
                next = lower;
            } else {
                next = (lower + upper) / 2.0;
            }
        }
        if (lowerKnown && upperKnown && upper - lower <= 2.0 * kRhoTolerance) {
            return next;
        }
        if (newton && std::fabs(next - rho) <= kRhoTolerance) {
            return next;
        }
        stepBeforeLast = lastStep;
        lastStep = next - rho;
        rho = next;
    }
    return rho;
}

} // namespace talver
