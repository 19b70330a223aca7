#include "stats/Tetrachoric.h"

#include <cmath>

#include "stats/NormalDistribution.h"

namespace talver {

namespace {

constexpr double kTwoPi = 6.28318531;
constexpr double kOneOverTwoPi = 0.1591549430204534;
constexpr double kUnderflowLimit = 1e-36;
constexpr double kTermRescale = 1e36;
constexpr double kPolynomialRescale = 1e-18;
constexpr double kNegligibleTerm = 1e-8;
constexpr double kProbabilityTolerance = 1e-6;
constexpr int kMaxCorrections = 50;
constexpr double kLargestEstimate = 0.9999;

struct SeriesValue {
    double probability; // P(X <= z1, Y <= z2) at the trial correlation
    double derivative;  // its derivative with respect to the correlation
};

// The tetrachoric series sum over n of rho^(n+1) / (n+1)! He_n(z1) He_n(z2)
// phi(z1) phi(z2), with the Hermite polynomials built by their recursions.
// It stops after two consecutive negligible terms, but not before six terms.
SeriesValue TetrachoricSeries(double rr, double z1, double z2, double pb, double pc, double ss)
{
    double va = 1.0;
    double vb = z1;
    double wa = 1.0;
    double wb = z2;
    double term = 1.0;
    int iterm = 0;
    double sum = pb * pc;
    double deriv = 0.0;
    double sr = ss;
    do {
        // Far out in the tails phi(z1) phi(z2) rho^n / n! would underflow
        // before the polynomials grow; move scale from one to the other.
        if (std::fabs(sr) <= kUnderflowLimit) {
            sr = sr * kTermRescale;
            va = va * kPolynomialRescale;
            vb = vb * kPolynomialRescale;
            wa = wa * kPolynomialRescale;
            wb = wb * kPolynomialRescale;
        }
        const double dr = sr * va * wa;
        sr = sr * rr / term;
        const double cof = sr * va * wa;
        iterm = iterm + 1;
        if (std::fabs(cof) > kNegligibleTerm) {
            iterm = 0;
        }
        sum = sum + cof;
        deriv = deriv + dr;
        const double nextVb = z1 * vb - term * va;
        va = vb;
        vb = nextVb;
        const double nextWb = z2 * wb - term * wa;
        wa = wb;
        wb = nextWb;
        term = term + 1.0;
    } while (iterm < 2 || term < 6.0);
    return {sum, deriv};
}

} // namespace

double TetrachoricCorrelation(int a, int b, int c, int d)
{
    if (a < 0 || b < 0 || c < 0 || d < 0) {
        return kTetrachoricFailure;
    }

    // Half a count moved onto a zero cell keeps the cross products finite.
    int kdelta = (a == 0 || d == 0) ? 2 : 1;
    if (b == 0 || c == 0) {
        kdelta += 2;
    }
    double delta = 0.0;
    if (kdelta == 4) {
        return kTetrachoricFailure;
    }
    if (kdelta == 2) {
        if (a == 0 && d == 0) {
            return -1.0;
        }
        delta = 0.5;
    } else if (kdelta == 3) {
        if (b == 0 && c == 0) {
            return 1.0;
        }
        delta = -0.5;
    }

    const double cellA = a + delta;
    const double cellD = d + delta;
    const double cellB = b - delta;
    const double cellC = c - delta;
    const double tot = cellA + cellB + cellC + cellD;
    const double ad = cellA * cellD;
    const double bc = cellB * cellC;
    if (ad - bc == 0.0) {
        return 0.0;
    }

    // The series is solved for a positive association; a negative one is
    // turned round by interchanging the columns of item j.
    double pa;
    double pb;
    double sign;
    if (ad > bc) {
        pa = cellA / tot;
        pb = (cellA + cellC) / tot;
        sign = 1.0;
    } else {
        pa = cellB / tot;
        pb = (cellB + cellD) / tot;
        sign = -1.0;
    }
    const double pc = (cellA + cellB) / tot;

    // Both margins split at the median: the orthant probability has a closed form.
    if (a == d && b == c) {
        return sign * -std::cos(kTwoPi * pa);
    }

    const double z1 = NormalQuantile(pb);
    const double z2 = NormalQuantile(pc);
    const double ss = std::exp(-(z1 * z1 + z2 * z2) / 2.0) * kOneOverTwoPi;

    // Start from the absolute value of Yule's Y.
    const double rootDifference = std::sqrt(ad) - std::sqrt(bc);
    double rr = rootDifference * rootDifference / std::fabs(ad - bc);

    for (int correctionCount = 1; correctionCount <= kMaxCorrections; ++correctionCount) {
        const SeriesValue series = TetrachoricSeries(rr, z1, z2, pb, pc, ss);
        if (std::fabs(series.probability - pa) <= kProbabilityTolerance) {
            return sign * rr;
        }
        const double correction = (series.probability - pa) / series.derivative;
        rr = rr - correction;
        // Damps the overshoot of the first corrections from Yule's Y.
        if (correctionCount == 2) {
            rr = rr + correction / 2.0;
        }
        if (rr < 0.0) {
            rr = 0.0;
        }
        if (rr > kLargestEstimate) {
            rr = kLargestEstimate;
        }
    }
    return kTetrachoricFailure;
}

} // namespace talver
