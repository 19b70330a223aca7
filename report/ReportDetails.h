#pragma once
// What the report's details block and the JSON companion say about the data
// and the options of a run.

#include <optional>
#include <string>
#include <vector>

#include "analyses/AnalysisCodes.h"
#include "report/GroupSplit.h"
#include "report/SampleLosses.h"

namespace talver {

struct ReportDetails {
    std::string targetFile;
    int targetCount = 0;
    std::string replicationFile;
    int replicationCount = 0;
    int variableCount = 0;
    int factorCount = 0;
    ExtractionMethod method = ExtractionMethod::Uls;
    DispersionKind dispersion = DispersionKind::Covariance;
    int bootstrapSamples = 0;
    AlphaLevel alpha = AlphaLevel::Five;
    // The declared score range, for polychoric correlations.
    int lowestScore = 0;
    int highestScore = 0;
    // The items' names from the data file's header; empty for plain files.
    std::vector<std::string> itemNames;
    // What each sample lost to missing values; none for plain files.
    std::optional<SampleLosses> targetLosses;
    std::optional<SampleLosses> replicationLosses;
    // How a group column split one file into the samples; none otherwise.
    std::optional<GroupSplit> groupSplit;
    // Warnings about the data read, such as scores that look like codes of
    // missing answers; the report shows them before the analyses.
    std::vector<std::string> dataWarnings;
};

} // namespace talver
