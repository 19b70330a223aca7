#include "stats/BivariateNormal.h"

#include <cmath>
#include <numbers>

#include <gtest/gtest.h>

#include "stats/ExactNormal.h"

using namespace talver;

namespace {

// P(X <= h, Y <= k) by Plackett's identity dPhi2/drho = phi2, integrated
// from rho = 0 with composite Simpson steps in long double: independent of
// the Gauss-Legendre rules, and exact to about 1e-14 away from |rho| = 1.
double PlackettIntegral(double h, double k, double rho)
{
    const int steps = 20000;
    const long double width = static_cast<long double>(rho) / steps;
    long double sum = 0.0L;
    for (int i = 0; i <= steps; ++i) {
        const long double t = width * i;
        const long double s = 1.0L - t * t;
        const long double f = std::exp(-(h * h + k * k - 2.0L * t * h * k) / (2.0L * s))
            / (2.0L * std::numbers::pi_v<long double> * std::sqrt(s));
        sum += f * (i == 0 || i == steps ? 1.0L : (i % 2 == 1 ? 4.0L : 2.0L));
    }
    return static_cast<double>(ExactNormalCdf(h) * ExactNormalCdf(k) + sum * width / 3.0L);
}

TEST(BivariateNormalCdf, AgreesWithR)
{
    // h, k, rho and P(X <= h, Y <= k) from fixtures/bivariate_normal_cdf.R:
    // every rule (6, 12, 20 points), both signs and the branch above 0.925.
    const double cases[][4] = {{0.5, -0.3, 0.6, 0.34362253011121074},
                               {-1.2, 0.8, -0.45, 0.059668743647281364},
                               {1.5, 1.1, 0.8, 0.84736210508156817},
                               {-0.4, -0.9, 0.3, 0.094550794346255268},
                               {-2.5, -2.3, 0.95, 0.0051137955076282424},
                               {2.1, -1.7, -0.97, 0.02704144409502859},
                               {0.3, 0.3, 0.9999, 0.61575965554343348},
                               {-3.2, 1.4, 0.2, 0.00067586433189962885},
                               {1, -1, -0.93, 0.036116810863904607},
                               {-0.7, -0.2, 0.926, 0.23557936023926501},
                               {3.5, 3.9, -0.5, 0.99971927457695087},
                               {-4.5, -4.4, 0.99, 3.0090600270193192e-06}};
    for (const auto& c : cases) {
        EXPECT_NEAR(BivariateNormalCdf(c[0], c[1], c[2]), c[3], 2e-15 + 1e-12 * c[3])
            << c[0] << ", " << c[1] << ", " << c[2];
    }
}

TEST(BivariateNormalCdf, AgreesWithPlackettsIntegralOnAGrid)
{
    for (double h : {-2.7, -1.1, -0.3, 0.0, 0.8, 2.2}) {
        for (double k : {-1.9, -0.6, 0.4, 1.6}) {
            for (double rho : {-0.99, -0.926, -0.924, -0.6, -0.1, 0.29, 0.31, 0.74, 0.76, 0.924, 0.926, 0.97}) {
                EXPECT_NEAR(BivariateNormalCdf(h, k, rho), PlackettIntegral(h, k, rho), 1e-13)
                    << h << ", " << k << ", " << rho;
            }
        }
    }
}

TEST(BivariateNormalCdf, Identities)
{
    for (double rho : {-0.95, -0.5, 0.2, 0.8, 0.93, 0.9999}) {
        // Sheppard: P(X <= 0, Y <= 0) = 1/4 + asin(rho) / (2 pi).
        EXPECT_NEAR(BivariateNormalCdf(0.0, 0.0, rho), 0.25 + std::asin(rho) / (2.0 * std::numbers::pi), 1e-15);
        for (double h : {-1.7, 0.4, 2.5}) {
            for (double k : {-0.8, 1.3}) {
                EXPECT_NEAR(BivariateNormalCdf(h, k, rho), BivariateNormalCdf(k, h, rho), 1e-15);
                // Reflecting Y: P(X <= h, Y <= k; rho) + P(X <= h, Y <= -k; -rho) = Phi(h).
                EXPECT_NEAR(BivariateNormalCdf(h, k, rho) + BivariateNormalCdf(h, -k, -rho), ExactNormalCdf(h),
                            1e-15);
            }
        }
    }
    EXPECT_EQ(BivariateNormalCdf(0.7, -0.2, 0.0), ExactNormalCdf(0.7) * ExactNormalCdf(-0.2));
}

TEST(BivariateNormalCdf, InfiniteThresholds)
{
    for (double rho : {-0.97, 0.0, 0.5, 0.99}) {
        EXPECT_EQ(BivariateNormalCdf(-INFINITY, 0.3, rho), 0.0);
        EXPECT_EQ(BivariateNormalCdf(0.3, -INFINITY, rho), 0.0);
        EXPECT_EQ(BivariateNormalCdf(INFINITY, 0.3, rho), ExactNormalCdf(0.3));
        EXPECT_EQ(BivariateNormalCdf(-1.2, INFINITY, rho), ExactNormalCdf(-1.2));
        EXPECT_EQ(BivariateNormalCdf(INFINITY, INFINITY, rho), 1.0);
        EXPECT_EQ(BivariateNormalDensity(INFINITY, 0.3, rho), 0.0);
        EXPECT_EQ(BivariateNormalDensity(0.3, -INFINITY, rho), 0.0);
    }
}

TEST(BivariateNormalDensity, IsTheSlopeOfTheProbabilityAndHasItsOwnSlope)
{
    for (double rho : {-0.9, -0.3, 0.0, 0.45, 0.95}) {
        const BivariateNormalAtRho at(rho);
        EXPECT_NEAR(at.Density(0.0, 0.0), 1.0 / (2.0 * std::numbers::pi * std::sqrt(1.0 - rho * rho)), 1e-15);
        const double step = 1e-5;
        for (double h : {-1.3, 0.6}) {
            for (double k : {-0.4, 1.9}) {
                const double slope = (BivariateNormalCdf(h, k, rho + step) - BivariateNormalCdf(h, k, rho - step))
                    / (2.0 * step);
                EXPECT_NEAR(at.Density(h, k), slope, 1e-9);
                const double second = (BivariateNormalDensity(h, k, rho + step)
                                       - BivariateNormalDensity(h, k, rho - step)) / (2.0 * step);
                EXPECT_NEAR(at.DensitySlope(h, k, at.Density(h, k)), second, 1e-7);
            }
        }
    }
}

} // namespace
