#include "stats/BivariateNormal.h"

#include <cmath>

#include "stats/BivariateIntegration.h"
#include "stats/NormalDistribution.h"

namespace talver {

namespace {

// The approximation of 2 pi is part of the results as reported, like the
// integration constants.
constexpr double kTwoPi = 6.283185308;

} // namespace

double BivariateNormalDensity(double x, double y, double rho)
{
    const double oneMinusRho2 = 1.0 - rho * rho;
    return std::exp(-(x * x + y * y - 2.0 * rho * x * y) / (2.0 * oneMinusRho2))
        / (kTwoPi * std::sqrt(oneMinusRho2));
}

double BivariateNormalCdf(double h, double k, double rho)
{
    // dPhi2/drho = phi2(h, k; rho), integrated from the independent case
    // with left end points: t runs 0, step, ..., 49 step.
    const double step = kStepFraction * rho;
    double sum = 0.0;
    for (int i = 0; i < kIntegrationSteps; ++i) {
        const double t = i * step;
        const double oneMinusT2 = 1.0 - t * t;
        sum += std::exp(-(h * h + k * k - 2.0 * t * h * k) / (2.0 * oneMinusT2)) / std::sqrt(oneMinusT2);
    }
    return NormalCdf(h) * NormalCdf(k) + step * sum * kOneOverTwoPi;
}

} // namespace talver
