#include "report/ItemNames.h"

namespace talver {

std::string ItemName(const ReportDetails& details, int item) {
    if (item >= 0 && static_cast<std::size_t>(item) < details.itemNames.size()) {
        return details.itemNames[static_cast<std::size_t>(item)];
    }
    return std::to_string(item + 1);
}

} // namespace talver
