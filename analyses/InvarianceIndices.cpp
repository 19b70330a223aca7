#include "analyses/InvarianceIndices.h"

void AnalyzeInvarianceIndices(StatusDisplay&, const Matrix*, const Matrix*, const Matrix*, const Matrix*, int, int,
                              int, double, int, int, bool, bool, ReportContext&)
{
}
