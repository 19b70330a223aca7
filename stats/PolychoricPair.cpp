#include "stats/PolychoricPair.h"

#include <cmath>
#include <utility>

#include "matrix/MatrixOps.h"
#include "stats/BivariateNormal.h"
#include "stats/ContingencyTable.h"
#include "stats/NormalDistribution.h"

namespace talver {

namespace {

// Every exponent in the integral of corner (h, k) is at most -(|h| - |k|)^2 / 2.
// From this squared distance on each is below -2000, where exp gives +0 and
// the sum stays +0, so the terms are not evaluated: the library's underflow
// path costs twice a normal exp, and every corner on the -100 sentinel
// (distance about 9000) would take it 50 times.
constexpr double kVanishingDistance = 4096.0;

} // namespace

PolychoricModel::PolychoricModel(std::vector<double> a, std::vector<double> b)
    : rows_(static_cast<int>(b.size()) - 1),
      cols_(static_cast<int>(a.size()) - 1),
      a_(std::move(a)),
      b_(std::move(b)),
      squares_((cols_ + 1) * (rows_ + 1)),
      cornerCdf_(squares_.size()),
      cornerDensity_(squares_.size()),
      probabilities_(rows_ * cols_),
      derivatives_(rows_ * cols_)
{
    for (double h : a_) {
        cdfA_.push_back(NormalCdf(h));
    }
    for (double k : b_) {
        cdfB_.push_back(NormalCdf(k));
    }
    for (int x = 0; x <= cols_; ++x) {
        for (int y = 0; y <= rows_; ++y) {
            squares_[Corner(x, y)] = a_[x] * a_[x] + b_[y] * b_[y];
        }
    }
}

void PolychoricModel::EvaluateCorners(double rho)
{
    const double step = kStepFraction * rho;
    for (int i = 0; i < kIntegrationSteps; ++i) {
        const double t = i * step;
        const double oneMinusT2 = 1.0 - t * t;
        twoT_[i] = 2.0 * t;
        twiceOneMinusT2_[i] = 2.0 * oneMinusT2;
        rootOneMinusT2_[i] = std::sqrt(oneMinusT2);
    }
    for (int x = 0; x <= cols_; ++x) {
        const double h = a_[x];
        for (int y = 0; y <= rows_; ++y) {
            const double k = b_[y];
            const double squares = squares_[Corner(x, y)];
            double sum = 0.0;
            if (!(squares - 2.0 * std::fabs(h * k) >= kVanishingDistance)) {
                for (int i = 0; i < kIntegrationSteps; ++i) {
                    sum += std::exp(-(squares - twoT_[i] * h * k) / twiceOneMinusT2_[i]) / rootOneMinusT2_[i];
                }
            }
            cornerCdf_[Corner(x, y)] = cdfA_[x] * cdfB_[y] + step * sum * kOneOverTwoPi;
            cornerDensity_[Corner(x, y)] = BivariateNormalDensity(h, k, rho);
        }
    }
}

void PolychoricModel::Evaluate(double rho)
{
    EvaluateCorners(rho);
    // Cell (c, s) lies between a_c and a_{c+1} and between b_s and b_{s+1}.
    // value = F(a_{c+1}, b_{s+1}) - F(a_{c+1}, b_s) - F(a_c, b_{s+1}) + F(a_c, b_s),
    // where a term is taken as 0 when b_s, a_c, or both are the lower sentinel.
    const auto fill = [this](const std::vector<double>& corners, std::vector<double>& cells) {
        for (int c = 0; c < cols_; ++c) {
            const bool lowA = a_[c] == kLowerSentinel;
            for (int s = 0; s < rows_; ++s) {
                const bool lowB = b_[s] == kLowerSentinel;
                const double c1 = lowB ? 0.0 : corners[Corner(c + 1, s)];
                const double c2 = lowA ? 0.0 : corners[Corner(c, s + 1)];
                const double c3 = (lowA && lowB) ? 0.0 : corners[Corner(c, s)];
                cells[Cell(rows_ - 1 - s, c)] = corners[Corner(c + 1, s + 1)] - c1 - c2 + c3;
            }
        }
    };
    fill(cornerCdf_, probabilities_);
    fill(cornerDensity_, derivatives_);
}

double PolychoricModel::Score(const Matrix* proportions, double rho)
{
    Evaluate(rho);
    double total = 0.0;
    for (int c = 0; c < cols_; ++c) {
        double column = 0.0;
        for (int r = 0; r < rows_; ++r) {
            column += (*proportions)(r, c) * Derivative(r, c) / Probability(r, c);
        }
        total += column;
    }
    return total;
}

bool PolychoricModel::CoversObservedCells(const Matrix* proportions) const
{
    for (int r = 0; r < rows_; ++r) {
        for (int c = 0; c < cols_; ++c) {
            if ((*proportions)(r, c) > 0.0 && !(Probability(r, c) > 0.0)) {
                return false;
            }
        }
    }
    return true;
}

double PolychoricPairCorrelation(const Matrix* table, const std::vector<double>& a, const std::vector<double>& b,
                                 double tolerance)
{
    if (tolerance >= 1.0) {
        return 0.0;
    }
    MatrixScope scope;
    const Matrix* proportions = DividedBy(table, CellTotal(table));
    PolychoricModel model(a, b);

    // Each step moves rho halfway towards the bound on the side the score
    // points to, so the bracket [lower, upper] halves every time.
    double rho = 0.0;
    double lower = -1.0;
    double upper = 1.0;
    for (;;) {
        // The model divides by 1 - rho^2: at a bound the search is over.
        if (std::fabs(rho) == 1.0) {
            return rho;
        }
        const double g = model.Score(proportions, rho);
        // With strong correlations the 50-step integration of the bivariate
        // probabilities turns sparse corner cells negative; the score there
        // can point away from the root and lead to a spurious second one.
        // No likelihood exists there: head back towards 0.
        const bool withinModel = model.CoversObservedCells(proportions);
        const bool upwards = withinModel ? g > 0.0 : rho < 0.0;
        double step;
        if (upwards) {
            lower = rho;
            step = std::fabs(upper - rho) / 2.0;
        } else {
            upper = rho;
            step = -std::fabs(lower - rho) / 2.0;
        }
        if (withinModel && (std::fabs(g) <= tolerance || std::isnan(g))) {
            return rho;
        }
        // A score that never gets within the tolerance would otherwise keep
        // the search going once the bracket is down to adjacent doubles.
        if (rho + step == rho) {
            return rho;
        }
        rho = rho + step;
    }
}

} // namespace talver
