#pragma once
// The standard bivariate normal density, lower-orthant probability and the
// derivative of the density with respect to the correlation, for a
// correlation strictly between -1 and 1 and any thresholds, infinite ones
// included.

namespace talver {

// What the orthant probability of Drezner and Wesolowsky as refined by Genz
// needs of rho alone, so that a model evaluating many corners at one rho
// computes it once.
class BivariateNormalAtRho {
public:
    explicit BivariateNormalAtRho(double rho);

    double Rho() const { return rho_; }

    // P(X <= h, Y <= k); cdfH and cdfK must be ExactNormalCdf(h) and
    // ExactNormalCdf(k), which callers with fixed thresholds compute once.
    double LowerOrthant(double h, double k, double cdfH, double cdfK) const;

    // phi2(h, k; rho), 0 at an infinite threshold.
    double Density(double h, double k) const;

    // d phi2 / d rho = phi2 ((h - rho k)(k - rho h) / (1 - rho^2)^2 + rho / (1 - rho^2)).
    double DensitySlope(double h, double k, double density) const;

private:
    double LowOrthant(double h, double k, double cdfH, double cdfK) const;
    double HighUpperOrthant(double h, double k) const;

    double rho_;
    double oneMinusRho2_;
    int nodeCount_ = 0;             // Gauss-Legendre nodes on the whole interval
    const double* weights_ = nullptr; // one weight per pair of nodes
    double scale_ = 0.0;            // asin(rho) / (4 pi), |rho| < 0.925
    double sines_[20] = {};         // sin(asin(rho) t_i), |rho| < 0.925
    double cosines2_[20] = {};      // 1 - sines_i^2, |rho| < 0.925
    double xs_[20] = {};            // (sqrt(1 - rho^2) t_i / 2)^2, |rho| >= 0.925
    double rs_[20] = {};            // sqrt(1 - xs_i)
};

// The standard bivariate normal density phi2(x, y; rho).
double BivariateNormalDensity(double x, double y, double rho);

// P(X <= h, Y <= k), accurate to about 1e-15.
double BivariateNormalCdf(double h, double k, double rho);

} // namespace talver
