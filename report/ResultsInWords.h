#pragma once
// What a run found, in a few sentences for the top of the HTML page and the
// JSON: the items whose means, loadings or residual variances differ between
// the samples, and those the congruence and discrepancy indices flag, each
// with the figures a paper reports. The sentences say what the tables mark.

#include <string>
#include <vector>

#include "report/ReportDetails.h"
#include "report/RunResults.h"

namespace talver {

struct FindingInWords {
    // "means", "means-overall", "loadings", "residual-variances",
    // "congruence", "discrepancy": the table the sentence sums up.
    std::string topic;
    std::string text;
};

std::vector<FindingInWords> ResultsInWords(const ReportDetails& details, const RunResults& results);

} // namespace talver
