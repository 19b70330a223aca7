#include "analyses/AvailableCores.h"

#include <algorithm>
#include <thread>

namespace talver {

int AvailableCores()
{
    return std::max(static_cast<int>(std::thread::hardware_concurrency()), 1);
}

} // namespace talver
