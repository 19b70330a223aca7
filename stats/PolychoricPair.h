#pragma once
// The two-step polychoric estimate of one item pair: with the thresholds
// fixed from the margins, the correlation that maximises the likelihood of
// the contingency table, found as the root of its score.

#include <vector>

#include "matrix/Matrix.h"
#include "stats/BivariateNormal.h"

namespace talver {

// The largest |rho| the estimate takes: where the likelihood still rises at
// 0.9999 (a table without cases off one diagonal), that is the estimate.
inline constexpr double kLargestPolychoricCorrelation = 0.9999;

// The model cell probabilities pi of a pair with fixed thresholds, their
// derivatives d pi / d rho and second derivatives, at one correlation at a
// time, in the layout of the contingency table (row item from its highest
// category down).
//
// A cell is the difference of the bivariate probabilities at its four
// corners, and neighbouring cells share corners; the marginal probabilities
// and the corners on an infinite threshold do not depend on rho at all. So
// every corner is computed once per correlation and everything else once
// per pair, by the very expressions of BivariateNormalAtRho: the tables are
// bit-identical to evaluating it at all four corners of every cell.
class PolychoricModel {
public:
    // a: a_0 = -inf, a_1 .. a_{K-1}, a_K = +inf of the column item; b the
    // same of the row item.
    PolychoricModel(std::vector<double> a, std::vector<double> b);

    // Computes the tables at rho, |rho| < 1.
    void Evaluate(double rho);
    double Probability(int r, int c) const { return probabilities_[Cell(r, c)]; }
    double Derivative(int r, int c) const { return derivatives_[Cell(r, c)]; }
    double SecondDerivative(int r, int c) const { return slopes_[Cell(r, c)]; }

private:
    int Cell(int r, int c) const { return r * cols_ + c; }
    int Corner(int x, int y) const { return x * (rows_ + 1) + y; }

    int rows_;
    int cols_;
    std::vector<double> a_;
    std::vector<double> b_;
    std::vector<double> cdfA_; // Phi(a_x)
    std::vector<double> cdfB_; // Phi(b_y)
    std::vector<int> finiteCorners_; // the corners that change with rho
    std::vector<double> cornerCdf_;
    std::vector<double> cornerDensity_;
    std::vector<double> cornerSlope_;
    std::vector<double> probabilities_;
    std::vector<double> derivatives_;
    std::vector<double> slopes_;
};

// The score of the mean log-likelihood sum P ln pi at one correlation, and
// its derivative, P the cell proportions.
struct PolychoricScore {
    bool withinModel; // every cell with cases has a positive probability
    double score;
    double slope;
};

PolychoricScore EvaluatePolychoricScore(PolychoricModel& model, const Matrix* proportions, double rho);

// The correlation at which the score of the table is zero, to 1e-10, inside
// [-0.9999, 0.9999]. a and b are the thresholds of the column and of the row
// item.
double PolychoricPairCorrelation(const Matrix* table, const std::vector<double>& a, const std::vector<double>& b);

} // namespace talver
