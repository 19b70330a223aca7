#include "report/ChartScale.h"

#include <algorithm>
#include <cmath>

namespace talver {

double ChartScale::Position(double value) const
{
    return from + (value - low) / (high - low) * (to - from);
}

std::vector<double> ChartScale::Ticks() const
{
    std::vector<double> ticks;
    const long long count = std::llround((high - low) / step);
    for (long long k = 0; k <= count; ++k) {
        // From the index, not by adding steps: no drift, and 0 stays 0.
        ticks.push_back(low + static_cast<double>(k) * step);
    }
    return ticks;
}

int ChartScale::TickDecimals() const
{
    const int decimals = static_cast<int>(std::ceil(-std::log10(step) - 1e-9));
    return decimals > 0 ? decimals : 0;
}

namespace {

// The nice step nearest span / ticks: 1, 2 or 5 times a power of ten.
double NiceStep(double span, int ticks)
{
    const double raw = span / ticks;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    const double fraction = raw / power;
    const double nice = fraction < 1.5 ? 1.0 : fraction < 3.5 ? 2.0 : fraction < 7.5 ? 5.0 : 10.0;
    return nice * power;
}

} // namespace

ChartScale NiceScale(double low, double high, double from, double to, int ticks)
{
    if (!std::isfinite(low) || !std::isfinite(high) || high < low) {
        low = 0.0;
        high = 1.0;
    }
    if (high - low < 1e-12 * std::max(1.0, std::fabs(low))) {
        low -= 0.5;
        high += 0.5;
    }
    ChartScale scale;
    scale.step = NiceStep(high - low, ticks > 0 ? ticks : 1);
    // A hair of slack so that a value on a tick does not add an interval.
    scale.low = std::floor(low / scale.step + 1e-9) * scale.step;
    scale.high = std::ceil(high / scale.step - 1e-9) * scale.step;
    scale.from = from;
    scale.to = to;
    return scale;
}

void Widen(double value, double& low, double& high)
{
    if (std::isfinite(value)) {
        low = std::min(low, value);
        high = std::max(high, value);
    }
}

} // namespace talver
