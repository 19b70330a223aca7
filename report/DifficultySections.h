#pragma once
// The "ITEM DIFFICULTIES" block and the Hotelling block of the report.

#include "analyses/ItemMeanResults.h"
#include "report/ReportContext.h"

namespace talver {

inline constexpr const char* kDifficultiesSection = "ITEM DIFFICULTIES";
inline constexpr const char* kHotellingSection = "Hotteling's T Square";

void PrintItemDifficulties(ReportContext& context, const DifficultyResults& results);
void PrintHotelling(ReportContext& context, const HotellingResults& results);

} // namespace talver
