#pragma once
// The item means of the two samples compared item by item (Student's t,
// Cohen's d, flagged at the critical normal value of alpha) and all at once
// (Hotelling's T square with its F approximation).

#include "analyses/ItemMeanResults.h"
#include "stats/AlphaLevel.h"

#include <string>
#include <vector>

namespace talver {

class Matrix;

// targetCount and replicationCount are the participants of the two data
// matrices as the run holds them. The warning names the items by
// `itemNames` (see analyses/ItemsShown.h), by number when it is empty.
DifficultyResults CompareItemMeans(const Matrix* targetData, const Matrix* replicationData, int targetCount,
                                   int replicationCount, AlphaLevel alpha, const std::vector<std::string>& itemNames);

HotellingResults TestAllMeans(const Matrix* targetData, const Matrix* replicationData, int targetCount,
                              int replicationCount);

} // namespace talver
