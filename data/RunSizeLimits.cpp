#include "data/RunSizeLimits.h"

#include <limits>

namespace talver {

namespace {

// a x b, held at the largest value instead of overflowing; a count below one
// (an empty score range, say) stands for nothing to allocate.
std::int64_t SaturatedProduct(std::int64_t a, std::int64_t b)
{
    constexpr std::int64_t largest = std::numeric_limits<std::int64_t>::max();
    if (a <= 0 || b <= 0) {
        return 0;
    }
    if (b > largest / a) {
        return largest;
    }
    return a * b;
}

} // namespace

std::int64_t ReplicateValues(std::int64_t samples, std::int64_t items, std::int64_t factors)
{
    return SaturatedProduct(2, SaturatedProduct(samples, SaturatedProduct(items, factors + 1)));
}

std::int64_t ScoreCategories(std::int64_t lowest, std::int64_t highest)
{
    return highest - lowest + 1;
}

std::int64_t PolychoricTableValues(std::int64_t categories, std::int64_t items)
{
    const std::int64_t pairs = SaturatedProduct(items, items - 1) / 2;
    const std::int64_t tables = SaturatedProduct(SaturatedProduct(categories, categories), pairs);
    const std::int64_t thresholds = SaturatedProduct(items, categories - 1);
    constexpr std::int64_t largest = std::numeric_limits<std::int64_t>::max();
    if (tables > largest / 2 - thresholds) {
        return largest;
    }
    return 2 * (tables + thresholds);
}

} // namespace talver
