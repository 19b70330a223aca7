#pragma once
// The calendar time of the user's time zone, which the report's header shows.
// The C library's thread-safe conversion has a different name on each system.

#include <ctime>

namespace talver {

std::tm LocalCalendarTime(std::time_t moment);

} // namespace talver
