#include "stats/NormalDistribution.h"

#include <cmath>

namespace talver {

namespace {

// Rational approximations of Beasley and Springer (1977), algorithm AS 111.
constexpr double kSplit = 0.42;

constexpr double kA0 = 2.50662823884;
constexpr double kA1 = -18.61500062529;
constexpr double kA2 = 41.39119773534;
constexpr double kA3 = -25.44106049637;

constexpr double kB1 = -8.47351093090;
constexpr double kB2 = 23.08336743743;
constexpr double kB3 = -21.06224101826;
constexpr double kB4 = 3.13082909833;

constexpr double kC0 = -2.78718931138;
constexpr double kC1 = -2.29796479134;
constexpr double kC2 = 4.85014127135;
constexpr double kC3 = 2.32121276858;

constexpr double kD1 = 3.54388924762;
constexpr double kD2 = 1.63706781897;

constexpr double kDeviateTolerance = 0.0001;
constexpr double kLowestProbability = 0.00001;
constexpr double kHighestProbability = 0.99999;
constexpr double kClampDeviate = 4.0;

} // namespace

double NormalQuantile(double p)
{
    const double q = p - 0.5;
    if (std::fabs(q) <= kSplit) {
        const double r = q * q;
        return q * (((kA3 * r + kA2) * r + kA1) * r + kA0)
            / ((((kB4 * r + kB3) * r + kB2) * r + kB1) * r + 1.0);
    }
    double r = (q <= 0.0) ? p : 1.0 - p;
    if (r <= 0.0) {
        return 0.0;
    }
    r = std::sqrt(-std::log(r));
    const double z = (((kC3 * r + kC2) * r + kC1) * r + kC0) / ((kD2 * r + kD1) * r + 1.0);
    return (q < 0.0) ? -z : z;
}

double NormalCdf(double x)
{
    // A NaN fails every comparison below and would keep the bisection going forever.
    if (std::isnan(x)) {
        return x;
    }
    if (x == 0.0) {
        return 0.5;
    }
    if (x <= -kClampDeviate) {
        return kLowestProbability;
    }
    if (x >= kClampDeviate) {
        return kHighestProbability;
    }

    // The bracket [low, high] holds Phi(x); p is always its midpoint. The
    // quantile is monotone and continuous to far below the tolerance, so the
    // loop ends (about 14 steps, about 25 near the clamps).
    double low = (x < 0.0) ? 0.0 : 0.5;
    double high = (x < 0.0) ? 0.5 : 1.0;
    double p = (x < 0.0) ? 0.25 : 0.75;
    for (;;) {
        const double z = NormalQuantile(p);
        if (std::fabs(z - x) <= kDeviateTolerance) {
            return p;
        }
        if (z >= x) {
            high = p;
            p = p - std::fabs(p - low) / 2.0;
        } else {
            low = p;
            p = p + std::fabs(high - p) / 2.0;
        }
    }
}

} // namespace talver
