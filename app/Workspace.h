#pragma once
// The record behind the main window: data, sizes, file names, analysis
// options, the derived score range and the four texts the window shows.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "analyses/AnalysisCodes.h"
#include "analyses/PolychoricScores.h"
#include "data/SampleExtraction.h"
#include "report/GroupSplit.h"
#include "report/SampleLosses.h"

namespace talver {

class Matrix;

// The part of the workspace that the options dialog edits.
struct AnalysisOptions {
    std::int32_t factorCount = 2;
    std::int32_t bootstrapSamples = 1000;
    std::int32_t alphaCode = kAlpha05;
    std::int32_t dispersionKind = kDispersionCovariance;
    std::int32_t extractionMethod = kMethodUls;
    bool showDiscriminations = true;
    bool showDifficulties = true;
    bool showResidualVariances = true;
    bool showDifficultyFit = true;
    bool showCongruence = true;
    bool showDiscrepancy = true;
    std::int32_t lowestScore = 0;
    std::int32_t highestScore = 0;
};

struct Workspace {
    Matrix* targetData = nullptr;
    Matrix* replicationData = nullptr;
    std::string targetFile = "target.dat";
    std::string replicationFile = "replica.dat";
    std::string outputFile = "output.txt";
    // The machine-readable companion of the report; none when empty.
    std::string jsonFile;
    // The HTML report with charts; none when empty.
    std::string htmlFile;
    std::int32_t targetCount = 707;
    std::int32_t replicationCount = 335;
    std::int32_t variableCount = 10;
    // Set when the samples come from files that name their columns: the
    // choice of items, group and missing codes, the items' names and what
    // each sample lost to missing values.
    std::optional<SampleSource> columnSource;
    std::vector<std::string> itemNames;
    std::optional<SampleLosses> targetLosses;
    std::optional<SampleLosses> replicationLosses;
    // Where each row of the two samples stands in its file; empty for plain
    // files, whose rows are the samples' own.
    SampleRowOrigins rowOrigins;
    // How a group column split one file into the two samples.
    std::optional<GroupSplit> groupSplit;
    // Scores that look like codes of missing answers, left in the data.
    std::vector<std::string> dataWarnings;
    AnalysisOptions options;
    bool dataLoaded = false;
    bool analysisConfigured = false;
    std::int32_t categoryCount = 0;
    Matrix* itemLowest = nullptr;
    Matrix* itemHighest = nullptr;
    std::int32_t observedMaximum = 0;
    std::int32_t observedMinimum = 0;
    std::string sectionText;
    std::string stepText;
    std::string progressText;
    std::string statusText = "  READY";
    // Threads that compute bootstrap replicates; the report is the same for
    // every count.
    std::int32_t threadCount = 1;
};

} // namespace talver
