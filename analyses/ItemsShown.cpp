#include "analyses/ItemsShown.h"

namespace talver {

namespace {

std::string Named(int item, const std::vector<std::string>& itemNames)
{
    if (item >= 0 && static_cast<std::size_t>(item) < itemNames.size() &&
        !itemNames[static_cast<std::size_t>(item)].empty()) {
        // Quoted: a name may hold blanks, digits or the word "and".
        return "\"" + itemNames[static_cast<std::size_t>(item)] + "\"";
    }
    return std::to_string(item + 1);
}

} // namespace

std::string ItemShown(int item, const std::vector<std::string>& itemNames)
{
    return "item " + Named(item, itemNames);
}

std::string ItemsShown(const std::vector<int>& items, const std::vector<std::string>& itemNames)
{
    std::string text = items.size() == 1 ? "item " : "items ";
    for (std::size_t k = 0; k < items.size(); ++k) {
        if (k > 0) {
            text += k + 1 == items.size() ? " and " : ", ";
        }
        text += Named(items[k], itemNames);
    }
    return text;
}

} // namespace talver
