#pragma once
// Why the observed samples give no polychoric matrix, in words the user can
// act on: every score of an item's declared range must occur in each sample.

#include <string>
#include <vector>

#include "matrix/Matrix.h"

namespace talver {

// Lines (each after a line end) naming the causes found: a declared score
// range wider than the data, an item with fewer categories than the others,
// an item and score that nobody has in a sample, a score outside the declared
// range. Items are named as ItemShown names them. Empty when no such cause is
// found.
std::string PolychoricRefusalCauses(const Matrix* targetData, const Matrix* replicationData,
                                    const Matrix* itemLowest, const Matrix* itemHighest,
                                    const std::vector<std::string>& itemNames);

} // namespace talver
