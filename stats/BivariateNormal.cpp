#include "stats/BivariateNormal.h"

#include <cmath>

#include "stats/NormalDistribution.h"

namespace talver {

namespace {

// The approximations of 2 pi and 1 / (2 pi) are part of the results as
// reported; full-precision values would change them.
constexpr double kTwoPi = 6.283185308;
constexpr double kOneOverTwoPi = 0.159155;
constexpr int kIntegrationSteps = 50;
constexpr double kStepFraction = 0.02;

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
