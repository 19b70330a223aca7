#include "stats/ExactNormal.h"

#include <cmath>
#include <limits>
#include <numbers>

#include "stats/NormalDistribution.h"

namespace talver {

namespace {

// AS 111 is good to about 1e-7 in the deviate; each Halley step on
// Phi(z) - p about triples the number of correct digits, so two reach the
// rounding of double precision.
constexpr int kHalleySteps = 2;

} // namespace

double ExactNormalCdf(double x)
{
    return 0.5 * std::erfc(-x / std::numbers::sqrt2);
}

double ExactNormalQuantile(double p)
{
    if (!(p >= 0.0 && p <= 1.0)) {
        return std::numeric_limits<double>::quiet_NaN();
    }
    if (p == 0.0) {
        return -std::numeric_limits<double>::infinity();
    }
    if (p == 1.0) {
        return std::numeric_limits<double>::infinity();
    }
    if (p == 0.5) {
        return 0.0;
    }
    // Beasley and Springer's deviate refined by Halley's method (as in
    // Acklam's refinement of his own approximation). Above the median the
    // error is taken from the upper tail, where 1 - p is exact and Q(z) keeps
    // its relative precision.
    double z = NormalQuantile(p);
    for (int step = 0; step < kHalleySteps; ++step) {
        const double error = z > 0.0 ? (1.0 - p) - 0.5 * std::erfc(z / std::numbers::sqrt2) : ExactNormalCdf(z) - p;
        const double u = error * std::sqrt(2.0 * std::numbers::pi) * std::exp(z * z / 2.0);
        z = z - u / (1.0 + z * u / 2.0);
    }
    return z;
}

} // namespace talver
