#pragma once
// The two samples taken from files with column names: the item columns by
// name, the rows of each sample from its own file or by the value of a group
// column in one file, missing answers found and incomplete rows left out
// (listwise deletion, sample by sample).

#include "data/DataTable.h"
#include "data/ListwiseLosses.h"

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace talver {

struct SampleSource {
    std::string targetFile;
    // Not used when a group column splits the Target file.
    std::string replicationFile;
    // Empty: two files, one per sample.
    std::string groupColumn;
    std::string targetGroup;
    std::string replicationGroup;
    // Names and ranges, "q1-q10, q12".
    std::string items;
    // Codes that mean a missing answer besides empty cells, NA and ".".
    std::string missing;
    // The delimiter of delimited text, 0 to detect it.
    char delimiter = 0;

    bool OneFile() const { return !groupColumn.empty(); }
};

struct ExtractedSample {
    // Complete rows, each with the chosen items in order.
    int rows = 0;
    std::vector<double> values;
    ListwiseLosses losses;
    // Where each complete row stands in its file, counted as the readers'
    // messages count it: the line of delimited text where the row starts
    // (the header's line counted, as a spreadsheet numbers it), or else the
    // row of data from 1.
    std::vector<std::int64_t> fileRows;
    bool fileRowsAreLines = false;
};

// How a group column split one file: the rows of each sample, and the rows
// of every other value, which belong to no sample.
struct GroupRows {
    int rowsRead = 0;
    int targetRows = 0;
    int replicationRows = 0;
    // The values that chose the samples, as the user gave them.
    std::string targetValue;
    std::string replicationValue;
    // Each other value as read (a number with its label) and its rows, in the
    // order in which the values first occur.
    std::vector<std::pair<std::string, int>> otherValues;

    int OtherRows() const;
};

struct ExtractedSamples {
    bool ok = false;
    std::string message;
    std::vector<std::string> itemNames;
    ExtractedSample target;
    ExtractedSample replication;
    // Set when a group column split one file.
    std::optional<GroupRows> groups;
    // The reading was stopped by the user.
    bool stopped = false;
};

// Reads a file with column names: the files of statistics packages by their
// extension, any other file as delimited text; with a choice, only the
// chosen columns.
DataReadResult ReadDataTable(const std::string& path, char delimiter, DataTable& table,
                             const ColumnChoice& choice = {}, const StopAsked& stopAsked = {});

// Takes the samples from tables already read; with a group column the
// replication table is not used.
ExtractedSamples ExtractSamples(const SampleSource& source, const DataTable& targetTable,
                                const DataTable& replicationTable);

// Reads the file or files, keeping only the columns the samples need, and
// takes the samples. A stop asked for while reading gives `stopped`.
ExtractedSamples ReadSamples(const SampleSource& source, const StopAsked& stopAsked = {});

// How a sample is named in messages: "data.csv" or "data.csv (sex = 1)".
std::string SampleShown(const SampleSource& source, bool target);

// "1,045 rows read: 669 Target (original), 335 Replication (retest), 41 in
// other groups: Original (1), 20200103 (40)".
std::string GroupRowsLine(const GroupRows& groups);

// One line on what a sample lost, for instance "Target sample: 212 complete
// rows; 3 of 215 rows dropped for missing values (q2: 2, q5: 1)".
std::string LossesLine(const char* sampleName, int completeRows, const ListwiseLosses& losses,
                       const std::vector<std::string>& itemNames);

} // namespace talver
