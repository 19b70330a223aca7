#include "analyses/ItemDiscriminations.h"

void AnalyzeItemDiscriminations(StatusDisplay&, const Matrix*, const Matrix*, const Matrix*, const Matrix*, int, int,
                                int, int, double, int, int, bool, bool, ReportContext&)
{
}
