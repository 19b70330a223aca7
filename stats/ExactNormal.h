#pragma once
// The standard normal distribution and quantile functions to full double
// precision, for the latent-variable models of the polychoric correlations,
// whose thresholds and cell probabilities must agree with other statistics
// software to many more digits than the bisected NormalCdf gives. Infinite
// arguments and probabilities 0 and 1 are valid.

namespace talver {

// Phi(x) from the complementary error function, without any clamp.
double ExactNormalCdf(double x);

// The z with Phi(z) = p: -infinity for p = 0, +infinity for p = 1, NaN
// outside [0, 1].
double ExactNormalQuantile(double p);

} // namespace talver
