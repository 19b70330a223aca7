#pragma once
// Loadings and residual variances of both samples with bias-corrected
// bootstrap intervals and their differences.

#include "app/ReportContext.h"
#include "app/StatusDisplay.h"

class Matrix;

void AnalyzeItemDiscriminations(StatusDisplay& display, const Matrix* targetData, const Matrix* replicationData,
                                const Matrix* itemLowest, const Matrix* itemHighest, int factorCount,
                                int bootstrapSamples, int categoryCount, int alphaCode, double tolerance,
                                int extractionMethod, int dispersionKind, bool showDiscriminations,
                                bool showResidualVariances, ReportContext& context);
