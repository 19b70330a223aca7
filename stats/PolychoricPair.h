#pragma once
// The two-step polychoric estimate of one item pair: with the thresholds
// fixed from the margins, the correlation is found by bisection on the score
// of the likelihood of the contingency table.

#include <array>
#include <vector>

#include "matrix/Matrix.h"
#include "stats/BivariateIntegration.h"

namespace talver {

// The model cell probabilities pi of a pair with fixed thresholds, and their
// derivatives d pi / d rho, evaluated at one correlation at a time, in the
// layout of the contingency table (row item from its highest category down).
//
// A cell is the difference of the bivariate probabilities at its four
// corners, and neighbouring cells share corners; the marginal factors of a
// corner do not depend on rho at all. So every corner value is computed once
// per correlation and every marginal factor once per pair, by the very
// expressions of BivariateNormalCdf: the tables are bit-identical to
// evaluating BivariateNormalCdf and BivariateNormalDensity at all four
// corners of every cell.
class PolychoricModel {
public:
    // a: a_0 .. a_Ki of the column item; b: b_0 .. b_Kj of the row item.
    PolychoricModel(std::vector<double> a, std::vector<double> b);

    // Computes both tables at rho.
    void Evaluate(double rho);
    double Probability(int r, int c) const { return probabilities_[Cell(r, c)]; }
    double Derivative(int r, int c) const { return derivatives_[Cell(r, c)]; }

    // The derivative with respect to rho of sum P ln pi, P the cell
    // proportions (rows x cols): sum of P D / pi, per column, then over the
    // column totals.
    double Score(const Matrix* proportions, double rho);

    // Whether the tables last evaluated give every cell with cases a
    // positive probability, so that the likelihood exists there.
    bool CoversObservedCells(const Matrix* proportions) const;

private:
    static constexpr int kIntegrationSteps = 50;

    int Cell(int r, int c) const { return r * cols_ + c; }
    int Corner(int x, int y) const { return x * (rows_ + 1) + y; }
    void EvaluateCorners(double rho);

    int rows_;
    int cols_;
    std::vector<double> a_;
    std::vector<double> b_;
    std::vector<double> cdfA_;          // NormalCdf(a_x)
    std::vector<double> cdfB_;          // NormalCdf(b_y)
    std::vector<double> squares_;       // a_x * a_x + b_y * b_y per corner
    std::vector<double> cornerCdf_;     // BivariateNormalCdf(a_x, b_y, rho)
    std::vector<double> cornerDensity_; // BivariateNormalDensity(a_x, b_y, rho)
    std::vector<double> probabilities_;
    std::vector<double> derivatives_;
    // The integration nodes t_i of BivariateNormalCdf, shared by all corners.
    std::array<double, kIntegrationSteps> twoT_{};
    std::array<double, kIntegrationSteps> twiceOneMinusT2_{};
    std::array<double, kIntegrationSteps> rootOneMinusT2_{};
};

// The correlation that zeroes the score of the table, to within the
// tolerance, by bisection on (-1, 1) from 0. a and b are the thresholds of
// the column and of the row item. A tolerance of 1 or more gives 0. Where the
// model gives a cell with cases no positive probability, rho is taken to be
// too far from 0.
double PolychoricPairCorrelation(const Matrix* table, const std::vector<double>& a, const std::vector<double>& b,
                                 double tolerance);

} // namespace talver
