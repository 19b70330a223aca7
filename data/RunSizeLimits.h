#pragma once
// The largest problems a run takes. Beyond them the matrices of the reading or
// of the analyses would not fit in memory, or their sizes would overflow the
// engine's 32-bit arithmetic, so the dialogs refuse them with a message before
// anything is allocated.

#include <cstdint>

namespace talver {

// The analyses hold several p x p matrices at once (200 MB each at this limit).
inline constexpr std::int64_t kMostItems = 5000;

// Values of one sample, participants x items. Its data, a bootstrap buffer and
// a population of that size live together, 1 GiB each at this limit.
inline constexpr std::int64_t kMostSampleValues = std::int64_t{1} << 27;

// Values of the largest work matrices of one analysis: the bootstrap
// replicates of both samples, or the polychoric tables of both samples.
inline constexpr std::int64_t kMostWorkValues = std::int64_t{1} << 27;

// The bootstrap replicate matrices of the item discriminations of both
// samples, B x (p m + p) each; those of the invariance indices are smaller.
std::int64_t ReplicateValues(std::int64_t samples, std::int64_t items, std::int64_t factors);

// highest - lowest + 1 without overflow.
std::int64_t ScoreCategories(std::int64_t lowest, std::int64_t highest);

// The polychoric thresholds, p x (c - 1), and contingency tables,
// c p (p - 1) / 2 x c, of both samples, for c categories.
std::int64_t PolychoricTableValues(std::int64_t categories, std::int64_t items);

} // namespace talver
