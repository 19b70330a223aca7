#include "stats/BivariateNormal.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "stats/ExactNormal.h"

namespace talver {

// The orthant probability follows A. Genz (2004), "Numerical computation of
// rectangular bivariate and trivariate normal and t probabilities",
// Statistics and Computing 14, 251-260: the method of Z. Drezner and
// G. O. Wesolowsky (1990) with Gauss-Legendre rules of 6, 12 or 20 points
// by |rho| for Sheppard's integral over asin(rho), and for |rho| >= 0.925 an
// integral in 1 - rho^2 whose singular part is taken out in closed form.
// Both give about 1e-15 absolute error.

namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;

// Nodes (on [-1, 1], negative half) and weights of the 6, 12 and 20 point
// Gauss-Legendre rules.
constexpr double kNodes6[3] = {-0.9324695142031522, -0.6612093864662647, -0.2386191860831970};
constexpr double kWeights6[3] = {0.1713244923791705, 0.3607615730481384, 0.4679139345726904};
constexpr double kNodes12[6] = {-0.9815606342467191, -0.9041172563704750, -0.7699026741943050,
                                -0.5873179542866171, -0.3678314989981802, -0.1252334085114692};
constexpr double kWeights12[6] = {0.04717533638651177, 0.1069393259953183, 0.1600783285433464,
                                  0.2031674267230659,  0.2334925365383547, 0.2491470458134029};
constexpr double kNodes20[10] = {-0.9931285991850949, -0.9639719272779138, -0.9122344282513259,
                                 -0.8391169718222188, -0.7463319064601508, -0.6360536807265150,
                                 -0.5108670019508271, -0.3737060887154196, -0.2277858511416451,
                                 -0.07652652113349733};
constexpr double kWeights20[10] = {0.01761400713915212, 0.04060142980038694, 0.06267204833410906,
                                   0.08327674157670475, 0.1019301198172404,  0.1181945319615184,
                                   0.1316886384491766,  0.1420961093183821,  0.1491729864726037,
                                   0.1527533871307259};

constexpr double kLowRuleBound = 0.3;
constexpr double kMiddleRuleBound = 0.75;
constexpr double kHighBranchBound = 0.925;
// Exponents below this are taken as 0 (the terms are below 1e-43).
constexpr double kNegligibleExponent = -100.0;
constexpr double kOverflowingExponent = -160.0;

} // namespace

BivariateNormalAtRho::BivariateNormalAtRho(double rho) : rho_(rho), oneMinusRho2_((1.0 - rho) * (1.0 + rho))
{
    const double* nodes;
    int half;
    if (std::fabs(rho) < kLowRuleBound) {
        nodes = kNodes6;
        weights_ = kWeights6;
        half = 3;
    } else if (std::fabs(rho) < kMiddleRuleBound) {
        nodes = kNodes12;
        weights_ = kWeights12;
        half = 6;
    } else {
        nodes = kNodes20;
        weights_ = kWeights20;
        half = 10;
    }
    nodeCount_ = 2 * half;
    // At rho = 0 the orthant probability is the product of the margins: no
    // rule is needed (the polychoric root starts there for every pair).
    if (rho == 0.0) {
        return;
    }
    // Node 2i is 1 + x_i, node 2i + 1 is 1 - x_i, on [0, 2].
    if (std::fabs(rho) < kHighBranchBound) {
        const double halfAngle = std::asin(rho) / 2.0;
        scale_ = halfAngle / kTwoPi;
        for (int i = 0; i < half; ++i) {
            sines_[2 * i] = std::sin(halfAngle * (1.0 + nodes[i]));
            sines_[2 * i + 1] = std::sin(halfAngle * (1.0 - nodes[i]));
        }
        for (int i = 0; i < nodeCount_; ++i) {
            cosines2_[i] = 1.0 - sines_[i] * sines_[i];
        }
    } else {
        const double a = std::sqrt(oneMinusRho2_) / 2.0;
        for (int i = 0; i < half; ++i) {
            for (int side = 0; side < 2; ++side) {
                const double t = side == 0 ? 1.0 + nodes[i] : 1.0 - nodes[i];
                const double xs = (a * t) * (a * t);
                xs_[2 * i + side] = xs;
                rs_[2 * i + side] = std::sqrt(1.0 - xs);
            }
        }
    }
}

double BivariateNormalAtRho::LowOrthant(double h, double k, double cdfH, double cdfK) const
{
    const double hk = h * k;
    const double hs = (h * h + k * k) / 2.0;
    double sum = 0.0;
    for (int i = 0; i < nodeCount_; ++i) {
        sum += weights_[i / 2] * std::exp((sines_[i] * hk - hs) / cosines2_[i]);
    }
    return cdfH * cdfK + sum * scale_;
}

// P(X > h, Y > k) for |rho| >= 0.925, in Genz's variables.
double BivariateNormalAtRho::HighUpperOrthant(double h, double k) const
{
    double hk = h * k;
    if (rho_ < 0.0) {
        k = -k;
        hk = -hk;
    }
    double sum = 0.0;
    if (oneMinusRho2_ > 0.0) {
        const double as = oneMinusRho2_;
        double a = std::sqrt(as);
        const double bs = (h - k) * (h - k);
        const double c = (4.0 - hk) / 8.0;
        const double d = (12.0 - hk) / 16.0;
        sum = a * std::exp(-(bs / as + hk) / 2.0) * (1.0 - c * (bs - as) * (1.0 - d * bs / 5.0) / 3.0
                                                     + c * d * as * as / 5.0);
        if (hk > kOverflowingExponent) {
            const double b = std::sqrt(bs);
            sum -= std::exp(-hk / 2.0) * std::sqrt(kTwoPi) * ExactNormalCdf(-b / a) * b
                 * (1.0 - c * bs * (1.0 - d * bs / 5.0) / 3.0);
        }
        a /= 2.0;
        for (int i = 0; i < nodeCount_; ++i) {
            const double xs = xs_[i];
            const double rs = rs_[i];
            const double exponent = -(bs / xs + hk) / 2.0;
            if (exponent > kNegligibleExponent) {
                sum += a * weights_[i / 2] * std::exp(exponent)
                     * (std::exp(-hk * (1.0 - rs) / (2.0 * (1.0 + rs))) / rs - (1.0 + c * xs * (1.0 + d * xs)));
            }
        }
        sum = -sum / kTwoPi;
    }
    if (rho_ > 0.0) {
        return sum + ExactNormalCdf(-std::max(h, k));
    }
    sum = -sum;
    if (k > h) {
        sum += h < 0.0 ? ExactNormalCdf(k) - ExactNormalCdf(h) : ExactNormalCdf(-h) - ExactNormalCdf(-k);
    }
    return sum;
}

double BivariateNormalAtRho::LowerOrthant(double h, double k, double cdfH, double cdfK) const
{
    if (h == -INFINITY || k == -INFINITY) {
        return 0.0;
    }
    if (h == INFINITY) {
        return cdfK;
    }
    if (k == INFINITY) {
        return cdfH;
    }
    if (rho_ == 0.0) {
        return cdfH * cdfK;
    }
    const double value = std::fabs(rho_) < kHighBranchBound ? LowOrthant(h, k, cdfH, cdfK) : HighUpperOrthant(-h, -k);
    return std::clamp(value, 0.0, 1.0);
}

double BivariateNormalAtRho::Density(double h, double k) const
{
    if (std::isinf(h) || std::isinf(k)) {
        return 0.0;
    }
    return std::exp(-(h * h + k * k - 2.0 * rho_ * h * k) / (2.0 * oneMinusRho2_)) / (kTwoPi * std::sqrt(oneMinusRho2_));
}

double BivariateNormalAtRho::DensitySlope(double h, double k, double density) const
{
    if (density == 0.0) {
        return 0.0;
    }
    return density * ((h - rho_ * k) * (k - rho_ * h) / (oneMinusRho2_ * oneMinusRho2_) + rho_ / oneMinusRho2_);
}

double BivariateNormalDensity(double x, double y, double rho)
{
    return BivariateNormalAtRho(rho).Density(x, y);
}

double BivariateNormalCdf(double h, double k, double rho)
{
    return BivariateNormalAtRho(rho).LowerOrthant(h, k, ExactNormalCdf(h), ExactNormalCdf(k));
}

} // namespace talver
