#include "analyses/ItemDifficulties.h"

void AnalyzeItemDifficulties(const Matrix*, const Matrix*, int, int, int, ReportContext&) {}

void HotellingTSquare(const Matrix*, const Matrix*, int, int, ReportContext&) {}
