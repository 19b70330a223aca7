#pragma once
// The value axis of a chart: a linear map from values to drawing positions
// over a range rounded out to "nice" tick values (1, 2 or 5 times a power of
// ten apart).

#include <vector>

namespace talver {

struct ChartScale {
    double low = 0.0;       // the first tick
    double high = 1.0;      // the last tick
    double step = 0.1;      // between ticks
    double from = 0.0;      // position of `low`
    double to = 1.0;        // position of `high`

    double Position(double value) const;
    std::vector<double> Ticks() const;
    // Decimals that tell the ticks apart.
    int TickDecimals() const;
};

// A scale whose ticks cover [low, high] with about `ticks` intervals, drawn
// from position `from` to position `to`. Non-finite values are ignored by the
// caller; an empty or zero-width range gets a unit-wide axis around it.
ChartScale NiceScale(double low, double high, double from, double to, int ticks = 5);

// Widens [low, high] to take in `value` when it is a finite number: how the
// charts find the range of what they draw.
void Widen(double value, double& low, double& high);

} // namespace talver
