#pragma once
// The standard normal quantile and distribution functions. The distribution
// function is found by bisection on the quantile, so the two agree with each
// other to the bisection tolerance rather than each being exact on its own.

namespace talver {

// The deviate z with Phi(z) = p; 0 when p is not strictly between 0 and 1.
double NormalQuantile(double p);

// Phi(x), held to [0.00001, 0.99999]; NaN for a NaN argument.
double NormalCdf(double x);

} // namespace talver
