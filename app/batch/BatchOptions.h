#pragma once
// The command line of talver-batch: what the window's three commands would be
// given through the Sample dialog and the options dialog.

#include <optional>
#include <string>
#include <vector>

namespace talver {

struct BatchOptions {
    std::string targetFile = "target.dat";
    std::string replicationFile = "replica.dat";
    // Counts are kept as typed, so that the dialogs' field rules judge them.
    std::string targetCount = "707";
    std::string replicationCount = "335";
    std::string itemCount = "10";
    std::string factorCount = "2";
    std::string method = "uls";
    std::string dispersion = "covariance";
    std::string bootstrapSamples = "1000";
    std::string alpha = "0.05";
    std::optional<std::string> lowestScore;
    std::optional<std::string> highestScore;
    bool noDifficulties = false;
    bool noDiscriminations = false;
    bool noResidualVariances = false;
    bool noDifficultyFit = false;
    bool noCongruence = false;
    bool noDiscrepancy = false;
    std::string outputFile = "output.txt";
    std::string jsonFile;
    std::string htmlFile;
    bool openReport = false;
    // Threads for the bootstrap replicates: every core unless given.
    int threads = 0;
    // Files that name their columns: one file split by a group column, the
    // missing codes and the delimiter of delimited text.
    std::string dataFile;
    std::string groupColumn;
    std::string targetGroup;
    std::string replicationGroup;
    std::string missing;
    std::string delimiter;
    // Which of the options above the command line gave.
    bool targetGiven = false;
    bool replicationGiven = false;
    bool itemsGiven = false;
    bool countsGiven = false;

    // Whether the samples come from files that name their columns: --data,
    // or a Target or Replication file with such an extension.
    bool NamedColumns() const;
};

// Every file the run reads.
std::vector<std::string> InputFiles(const BatchOptions& options);

// Parses argv. On --help or a malformed command line it prints what CLI11
// prints and returns the exit status to end with.
std::optional<int> ParseBatchOptions(int argc, char** argv, BatchOptions& options);

} // namespace talver
