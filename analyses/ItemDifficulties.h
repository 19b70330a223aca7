#pragma once
// The item means of the two samples compared item by item (Student's t,
// Cohen's d, flagged at the critical normal value of alpha) and all at once
// (Hotelling's T square with its F approximation).

#include "analyses/ItemMeanResults.h"
#include "stats/AlphaLevel.h"

namespace talver {

class Matrix;

// targetCount and replicationCount are the participants of the two data
// matrices as the run holds them.
DifficultyResults CompareItemMeans(const Matrix* targetData, const Matrix* replicationData, int targetCount,
                                   int replicationCount, AlphaLevel alpha);

HotellingResults TestAllMeans(const Matrix* targetData, const Matrix* replicationData, int targetCount,
                              int replicationCount);

} // namespace talver
