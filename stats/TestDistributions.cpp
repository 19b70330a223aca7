#include "stats/TestDistributions.h"

#include <cmath>
#include <limits>

namespace talver {

namespace {

// The continued fraction of I_x(a, b), evaluated by the modified method of
// Lentz (Press, Teukolsky, Vetterling & Flannery, Numerical Recipes, 3rd ed.,
// 2007, section 6.4). It converges fast for x < (a + 1) / (a + b + 2).
double BetaContinuedFraction(double a, double b, double x)
{
    // Convergence to the precision of a double; the fraction needs about
    // sqrt(max(a, b)) terms, so 10000 covers any sample size.
    constexpr int kMaxTerms = 10000;
    constexpr double kPrecision = 1e-16;
    // Keeps a denominator away from zero, as Lentz's method asks.
    constexpr double kTiny = 1e-300;
    auto away = [](double v) { return std::fabs(v) < kTiny ? kTiny : v; };
    const double sum = a + b;
    double c = 1.0;
    double d = 1.0 / away(1.0 - sum * x / (a + 1.0));
    double fraction = d;
    for (int m = 1; m <= kMaxTerms; ++m) {
        const double twice = 2.0 * m;
        double term = m * (b - m) * x / ((a - 1.0 + twice) * (a + twice));
        d = 1.0 / away(1.0 + term * d);
        c = away(1.0 + term / c);
        fraction *= d * c;
        term = -(a + m) * (sum + m) * x / ((a + twice) * (a + 1.0 + twice));
        d = 1.0 / away(1.0 + term * d);
        c = away(1.0 + term / c);
        const double step = d * c;
        fraction *= step;
        if (std::fabs(step - 1.0) < kPrecision) {
            break;
        }
    }
    return fraction;
}

} // namespace

double RegularizedIncompleteBeta(double a, double b, double x)
{
    if (!(a > 0.0) || !(b > 0.0) || !(x >= 0.0 && x <= 1.0)) {
        return std::numeric_limits<double>::quiet_NaN();
    }
    if (x == 0.0 || x == 1.0) {
        return x;
    }
    const double logFront =
        std::lgamma(a + b) - std::lgamma(a) - std::lgamma(b) + a * std::log(x) + b * std::log1p(-x);
    const double front = std::exp(logFront);
    if (x < (a + 1.0) / (a + b + 2.0)) {
        return front * BetaContinuedFraction(a, b, x) / a;
    }
    return 1.0 - front * BetaContinuedFraction(b, a, 1.0 - x) / b;
}

double StudentTwoSidedP(double t, double df)
{
    if (std::isnan(t) || !(df > 0.0)) {
        return std::numeric_limits<double>::quiet_NaN();
    }
    if (std::isinf(t)) {
        return 0.0;
    }
    // P(|T| >= |t|) = I_{df / (df + t^2)}(df / 2, 1 / 2).
    return RegularizedIncompleteBeta(0.5 * df, 0.5, df / (df + t * t));
}

double FUpperTailP(double f, double df1, double df2)
{
    if (std::isnan(f) || !(df1 > 0.0) || !(df2 > 0.0)) {
        return std::numeric_limits<double>::quiet_NaN();
    }
    if (f <= 0.0) {
        return 1.0;
    }
    if (std::isinf(f)) {
        return 0.0;
    }
    // P(F >= f) = I_{df2 / (df2 + df1 f)}(df2 / 2, df1 / 2).
    return RegularizedIncompleteBeta(0.5 * df2, 0.5 * df1, df2 / (df2 + df1 * f));
}

} // namespace talver
