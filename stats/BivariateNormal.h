#pragma once
// The standard bivariate normal density and lower-orthant probability, both
// for a correlation strictly between -1 and 1.

namespace talver {

// phi2(x, y; rho).
double BivariateNormalDensity(double x, double y, double rho);

// P(X <= h, Y <= k). Thresholds at or beyond +/-4 take the clamped marginal
// probabilities of NormalCdf, so callers may pass large finite values in
// place of infinities.
double BivariateNormalCdf(double h, double k, double rho);

} // namespace talver
