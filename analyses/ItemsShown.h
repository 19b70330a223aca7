#pragma once
// How the analyses' messages name items: by the name the user knows them by
// when the samples came with names ("item \"q4\""), by their number from 1
// otherwise ("item 7"). The names are given ready for messages (control bytes
// escaped, long names cut) by the caller, which knows where they came from.

#include <string>
#include <vector>

namespace talver {

// Item `item` (0-based): "item \"q4\"" or "item 7". A missing or empty name
// falls back to the number.
std::string ItemShown(int item, const std::vector<std::string>& itemNames);

// Items (0-based, in the order given): "item \"q4\"", "items \"q1\" and
// \"q4\"", "items 1, 4 and 6".
std::string ItemsShown(const std::vector<int>& items, const std::vector<std::string>& itemNames);

} // namespace talver
