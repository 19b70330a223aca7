#pragma once
// Congruence and discrepancy indices of the rotated loading matrices with
// bootstrap critical values under invariance.

#include "app/ReportContext.h"
#include "app/StatusDisplay.h"

class Matrix;

void AnalyzeInvarianceIndices(StatusDisplay& display, const Matrix* targetData, const Matrix* replicationData,
                              const Matrix* itemLowest, const Matrix* itemHighest, int factorCount,
                              int bootstrapSamples, int alphaCode, double tolerance, int extractionMethod,
                              int dispersionKind, bool showCongruence, bool showDiscrepancy,
                              ReportContext& context);
