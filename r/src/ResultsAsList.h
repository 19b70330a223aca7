#pragma once
// The result records of a run as R lists laid out like the JSON companion
// that talver-batch writes: the same keys, arrays of objects as lists of
// columns. The package's R code turns both into the same data frames.

#include <Rcpp.h>

#include "report/ReportDetails.h"
#include "report/RunResults.h"

namespace talver {

Rcpp::List ResultsAsList(const RunResults& results);

} // namespace talver
