#pragma once
// Item means of the two samples, item by item (Student's t, Cohen's d) and
// all at once (Hotelling's T square).

#include "app/ReportContext.h"

class Matrix;

void AnalyzeItemDifficulties(const Matrix* targetData, const Matrix* replicationData, int targetCount,
                             int replicationCount, int alphaCode, ReportContext& context);

void HotellingTSquare(const Matrix* targetData, const Matrix* replicationData, int targetCount,
                      int replicationCount, ReportContext& context);
