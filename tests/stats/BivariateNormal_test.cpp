#include "stats/BivariateNormal.h"

#include <cmath>
#include <numbers>

#include <gtest/gtest.h>

#include "stats/NormalDistribution.h"

using namespace talver;

namespace {

// phi2 with full-precision pi.
double ReferenceDensity(double x, double y, double rho)
{
    const double s = 1.0 - rho * rho;
    return std::exp(-(x * x + y * y - 2.0 * rho * x * y) / (2.0 * s)) / (2.0 * std::numbers::pi * std::sqrt(s));
}

TEST(BivariateNormalDensity, UsesTheStoredTwoPi)
{
    EXPECT_EQ(BivariateNormalDensity(0.0, 0.0, 0.0), 1.0 / 6.283185308);
    for (double rho : {-0.7, 0.0, 0.35, 0.9}) {
        const double expected = ReferenceDensity(0.4, -1.1, rho);
        EXPECT_NEAR(BivariateNormalDensity(0.4, -1.1, rho), expected, 1e-9 * expected) << "rho = " << rho;
    }
}

TEST(BivariateNormalCdf, IndependentCaseIsTheProductOfMarginals)
{
    for (double h : {-100.0, -1.3, 0.0, 0.7, 5.0}) {
        for (double k : {-100.0, -0.2, 2.4, 5.0}) {
            EXPECT_EQ(BivariateNormalCdf(h, k, 0.0), NormalCdf(h) * NormalCdf(k));
        }
    }
}

TEST(BivariateNormalCdf, LeftPointRuleLandsJustBelowTheOrthantProbability)
{
    const double exact = 0.25 + std::asin(0.5) / (2.0 * std::numbers::pi);
    const double value = BivariateNormalCdf(0.0, 0.0, 0.5);
    EXPECT_NEAR(value, 0.33321, 0.000005);
    EXPECT_LT(value, exact);
}

TEST(BivariateNormalCdf, AgreesWithAnIndependentIntegration)
{
    // h, k, rho and P(X <= h, Y <= k) from fixtures/bivariate_normal_cdf.R.
    // The 50-step rule errs by about rho^2 / 100 times the slope of phi2; a
    // wrong sign or a dropped term would miss by far more.
    const double cases[][4] = {{0.5, -0.3, 0.6, 0.3436225301},
                               {-1.2, 0.8, -0.45, 0.0596687436},
                               {1.5, 1.1, 0.8, 0.8473621051},
                               {-0.4, -0.9, 0.3, 0.0945507943}};
    for (const auto& c : cases) {
        EXPECT_NEAR(BivariateNormalCdf(c[0], c[1], c[2]), c[3], 0.001) << c[0] << ", " << c[1] << ", " << c[2];
    }
}

TEST(BivariateNormalCdf, FarThresholdsStandInForInfinities)
{
    // With h far below, the probability is the clamped marginal times
    // Phi(k) plus a vanishing integral.
    EXPECT_NEAR(BivariateNormalCdf(-100.0, 0.3, 0.5), 0.00001 * NormalCdf(0.3), 1e-12);
    EXPECT_NEAR(BivariateNormalCdf(5.0, 0.3, 0.5), 0.99999 * NormalCdf(0.3), 1e-4);
}

} // namespace
