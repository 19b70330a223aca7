#pragma once
// The constants of the 50-step integration of the bivariate normal density
// over rho (BivariateNormalCdf), shared with the polychoric model tables,
// which must match it bit for bit. The approximation of 1 / (2 pi) is part of
// the results as reported; the full-precision value would change them.

namespace talver {

constexpr double kOneOverTwoPi = 0.159155;
constexpr int kIntegrationSteps = 50;
constexpr double kStepFraction = 0.02;

} // namespace talver
