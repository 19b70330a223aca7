#include "data/SampleExtraction.h"

#include "data/DataFileKind.h"
#include "data/DelimitedReader.h"
#include "data/InputShown.h"
#include "data/ItemSelection.h"
#include "data/ScoreCells.h"
#include "data/StatisticsFileReader.h"

#include <map>
#include <new>
#include <set>

namespace talver {

DataReadResult ReadDataTable(const std::string& path, char delimiter, DataTable& table, const ColumnChoice& choice,
                             const StopAsked& stopAsked)
{
    const DataFileKind kind = KindOfDataFile(path);
    if (kind == DataFileKind::Spss || kind == DataFileKind::Stata || kind == DataFileKind::Sas) {
        return ReadStatisticsFile(path, kind, table, choice, stopAsked);
    }
    return ReadDelimitedFile(path, delimiter, table, choice, stopAsked);
}

std::string SampleShown(const SampleSource& source, bool target)
{
    if (!source.OneFile()) {
        return target ? source.targetFile : source.replicationFile;
    }
    return source.targetFile + " (" + InputShown(TrimBlanks(source.groupColumn)) + " = " +
           InputShown(TrimBlanks(target ? source.targetGroup : source.replicationGroup)) + ")";
}

int GroupRows::OtherRows() const
{
    int rows = 0;
    for (const auto& [value, count] : otherValues) {
        rows += count;
    }
    return rows;
}

std::string LossesLine(const char* sampleName, int completeRows, const ListwiseLosses& losses,
                       const std::vector<std::string>& itemNames)
{
    std::string line = std::string(sampleName) + " sample: " + std::to_string(completeRows) + " complete rows";
    if (losses.rowsDropped == 0) {
        return line + ", none dropped for missing values";
    }
    line += "; " + std::to_string(losses.rowsDropped) + " of " + std::to_string(losses.rowsRead) +
            " rows dropped for missing values (";
    bool first = true;
    for (std::size_t k = 0; k < losses.missingPerItem.size() && k < itemNames.size(); ++k) {
        if (losses.missingPerItem[k] > 0) {
            line += (first ? "" : ", ") + InputShown(itemNames[k]) + ": " + std::to_string(losses.missingPerItem[k]);
            first = false;
        }
    }
    return line + ")";
}

namespace {

// Other values listed in one message or line; the rest are counted.
constexpr std::size_t kMostValuesShown = 12;

// "1,045": a count with commas between groups of three digits.
std::string CountShown(long long count)
{
    std::string digits = std::to_string(count);
    const std::size_t sign = count < 0 ? 1 : 0;
    for (std::size_t at = digits.size(); at > sign + 3; at -= 3) {
        digits.insert(at - 3, ",");
    }
    return digits;
}

// "Original (1), 20200103 (40)", or "none".
std::string OtherValuesShown(const GroupRows& groups)
{
    if (groups.otherValues.empty()) {
        return "none";
    }
    std::string shown;
    for (std::size_t k = 0; k < groups.otherValues.size() && k < kMostValuesShown; ++k) {
        shown += (k == 0 ? "" : ", ") + InputShown(groups.otherValues[k].first) + " (" +
                 CountShown(groups.otherValues[k].second) + ")";
    }
    if (groups.otherValues.size() > kMostValuesShown) {
        shown += " and " + CountShown(static_cast<long long>(groups.otherValues.size() - kMostValuesShown)) +
                 " more values";
    }
    return shown;
}

struct SampleRows {
    const DataTable* table;
    std::vector<std::size_t> itemColumns;
    // Rows that belong to the sample.
    std::vector<std::size_t> rows;
    std::string shown;
};

bool TakeScores(const SampleRows& sample, const MissingCodes& missing, ExtractedSample& into, std::string& message)
{
    const DataTable& table = *sample.table;
    const std::size_t items = sample.itemColumns.size();
    into.losses.missingPerItem.assign(items, 0);
    into.losses.rowsRead = static_cast<int>(sample.rows.size());
    into.fileRowsAreLines = !table.firstLineOfRow.empty();
    std::vector<double> row(items);
    for (const std::size_t r : sample.rows) {
        bool complete = true;
        for (std::size_t k = 0; k < items; ++k) {
            const std::size_t column = sample.itemColumns[k];
            const DataCell& cell = table.rows[r][column];
            switch (InterpretScore(cell, table.decimalComma, missing, row[k])) {
            case CellStatus::Score: break;
            case CellStatus::Missing:
                ++into.losses.missingPerItem[k];
                complete = false;
                break;
            case CellStatus::NotANumber:
                message = sample.shown + ", " + RowPlace(table, r) + ", " + ColumnPlace(table, column) + ": " +
                          CellShown(cell) +
                          " is not a number. Correct the cell, or list its text among the missing values.";
                return false;
            case CellStatus::OutsideSinglePrecision:
                message = sample.shown + ", " + RowPlace(table, r) + ", " + ColumnPlace(table, column) + ": " +
                          CellShown(cell) +
                          " is outside single precision, in which scores are kept (magnitudes from about 1e-45 "
                          "to 3.4e38, or 0). Correct the cell, or list it among the missing values.";
                return false;
            }
        }
        if (complete) {
            into.values.insert(into.values.end(), row.begin(), row.end());
            into.fileRows.push_back(r < table.firstLineOfRow.size() ? table.firstLineOfRow[r]
                                                                    : static_cast<std::int64_t>(r) + 1);
            ++into.rows;
        } else {
            ++into.losses.rowsDropped;
        }
    }
    return true;
}

bool CheckItemColumns(const DataTable& table, const std::vector<std::size_t>& columns, const std::string& fileName,
                      std::string& message)
{
    for (const std::size_t column : columns) {
        if (table.columns[column].isString) {
            message = "The item \"" + InputShown(table.columns[column].name) + "\" is a string variable in " + fileName +
                      ", not a number. Choose numeric variables as items.";
            return false;
        }
    }
    return true;
}

bool EnoughRows(const ExtractedSample& sample, const char* sampleName, const std::string& shown,
                const std::vector<std::string>& itemNames, std::string& message)
{
    const std::size_t items = itemNames.size();
    const long long needed = static_cast<long long>(items) + 2;
    if (sample.rows >= needed) {
        return true;
    }
    message = std::string("The ") + sampleName + " sample (" + shown + ") has " + std::to_string(sample.rows) +
              " complete rows";
    if (sample.losses.rowsDropped > 0) {
        message += " after " + std::to_string(sample.losses.rowsDropped) + " rows with missing values were left out";
    }
    message += "; with " + std::to_string(items) + " items the analyses need at least " + std::to_string(needed) + ".";
    // An item that no row answers is the cause, whatever the sample's size.
    std::string never;
    std::size_t neverCount = 0;
    for (std::size_t k = 0; k < sample.losses.missingPerItem.size() && k < items; ++k) {
        if (sample.losses.rowsRead > 0 && sample.losses.missingPerItem[k] == sample.losses.rowsRead) {
            never += (neverCount++ == 0 ? "\"" : ", \"") + InputShown(itemNames[k]) + "\"";
        }
    }
    if (neverCount > 0) {
        message += (neverCount == 1 ? " The item " + never + " is" : " The items " + never + " are") +
                   " missing in every row of the sample: leave " + (neverCount == 1 ? "it" : "them") +
                   " out of the items, or check the missing codes.";
    } else {
        message += " Choose fewer items or a larger sample.";
    }
    return false;
}

} // namespace

std::string GroupRowsLine(const GroupRows& groups)
{
    std::string line = CountShown(groups.rowsRead) + " rows read: " + CountShown(groups.targetRows) + " Target (" +
                       InputShown(groups.targetValue) + "), " + CountShown(groups.replicationRows) +
                       " Replication (" + InputShown(groups.replicationValue) + "), ";
    if (groups.otherValues.empty()) {
        return line + "none in other groups";
    }
    return line + CountShown(groups.OtherRows()) + " in other groups: " + OtherValuesShown(groups);
}

ExtractedSamples ExtractSamples(const SampleSource& source, const DataTable& targetTable,
                                const DataTable& replicationTable)
{
    ExtractedSamples result;
    const ItemColumns items = ResolveItemList(source.items, targetTable.columns, source.targetFile);
    if (!items.ok) {
        result.message = items.message;
        return result;
    }
    SampleRows target{&targetTable, items.columns, {}, SampleShown(source, true)};
    SampleRows replication{source.OneFile() ? &targetTable : &replicationTable, {}, {}, SampleShown(source, false)};
    for (const std::size_t column : items.columns) {
        result.itemNames.push_back(targetTable.columns[column].name);
    }
    if (!CheckItemColumns(targetTable, items.columns, source.targetFile, result.message)) {
        return result;
    }
    if (source.OneFile()) {
        const std::optional<std::size_t> group = FindColumn(targetTable.columns, source.groupColumn);
        if (!group) {
            result.message = "There is no group column \"" + InputShown(TrimBlanks(source.groupColumn)) + "\" in " +
                             source.targetFile + ". Its columns are: " + ColumnNamesShown(targetTable.columns) + ".";
            return result;
        }
        for (const std::size_t column : items.columns) {
            if (column == *group) {
                result.message = "The group column \"" + InputShown(targetTable.columns[column].name) +
                                 "\" is also chosen as an item. Leave it out of the items.";
                return result;
            }
        }
        const std::string targetValue = TrimBlanks(source.targetGroup);
        const std::string replicationValue = TrimBlanks(source.replicationGroup);
        if (targetValue.empty() || replicationValue.empty()) {
            result.message = "Give the values of the group column \"" + InputShown(targetTable.columns[*group].name) +
                             "\" that pick the Target and the Replication rows.";
            return result;
        }
        if (targetValue == replicationValue) {
            result.message = "The Target and the Replication samples are both the rows with " +
                             InputShown(targetTable.columns[*group].name) + " = " + InputShown(targetValue) +
                             ". Give each sample its own group value.";
            return result;
        }
        const DataColumn& groupColumn = targetTable.columns[*group];
        const std::string columnShown = "the group column \"" + InputShown(groupColumn.name) + "\"";
        if (targetTable.rows.empty()) {
            result.message = source.targetFile + " has a header but no rows of data.";
            return result;
        }
        GroupRows groups{static_cast<int>(targetTable.rows.size()), 0, 0, targetValue, replicationValue, {}};
        std::map<std::string, std::size_t> otherIndex;
        for (std::size_t r = 0; r < targetTable.rows.size(); ++r) {
            const DataCell& cell = targetTable.rows[r][*group];
            const bool isTarget = GroupMatches(cell, groupColumn, targetTable.decimalComma, targetValue);
            const bool isReplication = GroupMatches(cell, groupColumn, targetTable.decimalComma, replicationValue);
            if (isTarget && isReplication) {
                result.message = source.targetFile + ", " + RowPlace(targetTable, r) + ": the group value " +
                                 InputShown(GroupValueText(cell, groupColumn)) + " matches both " +
                                 InputShown(targetValue) + " and " + InputShown(replicationValue) +
                                 ". Give group values that tell the samples apart.";
                return result;
            }
            if (isTarget) {
                target.rows.push_back(r);
            } else if (isReplication) {
                replication.rows.push_back(r);
            } else {
                const std::string value = GroupValueText(cell, groupColumn);
                const auto [found, added] = otherIndex.emplace(value, groups.otherValues.size());
                if (added) {
                    groups.otherValues.emplace_back(value, 0);
                }
                ++groups.otherValues[found->second].second;
            }
        }
        groups.targetRows = static_cast<int>(target.rows.size());
        groups.replicationRows = static_cast<int>(replication.rows.size());
        for (const auto& [rows, value] : {std::pair{&target.rows, targetValue}, {&replication.rows, replicationValue}}) {
            if (rows->empty()) {
                // Every value of the column, those that matched first.
                GroupRows found = groups;
                found.otherValues.clear();
                for (const auto& [count, matched] : {std::pair{groups.targetRows, targetValue},
                                                     {groups.replicationRows, replicationValue}}) {
                    if (count > 0) {
                        found.otherValues.emplace_back(matched, count);
                    }
                }
                found.otherValues.insert(found.otherValues.end(), groups.otherValues.begin(), groups.otherValues.end());
                result.message = "No row of " + source.targetFile + " has the value " + InputShown(value) + " in " +
                                 columnShown + ". Its values there are: " + OtherValuesShown(found) + ".";
                return result;
            }
        }
        // A typo in a value, or columns shifted in a damaged file, would
        // otherwise leave most of the data out without a word.
        if (2 * static_cast<long long>(groups.OtherRows()) > groups.rowsRead) {
            result.message = "Only " + CountShown(groups.targetRows + groups.replicationRows) + " of " +
                             CountShown(groups.rowsRead) + " rows of " + source.targetFile +
                             " belong to a sample (" + CountShown(groups.targetRows) + " Target, " +
                             CountShown(groups.replicationRows) + " Replication); " +
                             CountShown(groups.OtherRows()) + " rows have other values in " + columnShown + ": " +
                             OtherValuesShown(groups) +
                             ". Check the group column and the values that pick the two samples.";
            return result;
        }
        result.groups = groups;
        replication.itemColumns = items.columns;
    } else {
        for (const std::string& name : result.itemNames) {
            const std::optional<std::size_t> column = FindColumn(replicationTable.columns, name);
            if (!column) {
                result.message = "There is no column \"" + InputShown(name) + "\" in " + source.replicationFile +
                                 " (the Replication sample), though the Target file has it. Its columns are: " +
                                 ColumnNamesShown(replicationTable.columns) + ".";
                return result;
            }
            replication.itemColumns.push_back(*column);
        }
        if (!CheckItemColumns(replicationTable, replication.itemColumns, source.replicationFile, result.message)) {
            return result;
        }
        for (const auto& [sample, file] : {std::pair{&target, &source.targetFile}, {&replication, &source.replicationFile}}) {
            if (sample->table->rows.empty()) {
                result.message = *file + " has a header but no rows of data.";
                return result;
            }
            for (std::size_t r = 0; r < sample->table->rows.size(); ++r) {
                sample->rows.push_back(r);
            }
        }
    }
    const MissingCodes missing = ParseMissingCodes(source.missing);
    if (!TakeScores(target, missing, result.target, result.message) ||
        !TakeScores(replication, missing, result.replication, result.message) ||
        !EnoughRows(result.target, "Target", target.shown, result.itemNames, result.message) ||
        !EnoughRows(result.replication, "Replication", replication.shown, result.itemNames, result.message)) {
        return result;
    }
    result.ok = true;
    return result;
}

namespace {

// The columns a run needs of a file: the items and, in a file that holds
// both samples, the group column. Nothing (every column kept) when the
// choice cannot be resolved, so that the refusal can name every column.
ColumnChoice NeededColumns(const SampleSource& source, const std::vector<std::string>* itemNames)
{
    return [&source, itemNames](const std::vector<DataColumn>& columns) -> std::optional<std::vector<std::size_t>> {
        std::set<std::size_t> kept;
        if (itemNames) {
            for (const std::string& name : *itemNames) {
                const std::optional<std::size_t> column = FindColumn(columns, name);
                if (!column) {
                    return std::nullopt;
                }
                kept.insert(*column);
            }
        } else {
            const ItemColumns items = ResolveItemList(source.items, columns, source.targetFile);
            if (!items.ok) {
                return std::nullopt;
            }
            kept.insert(items.columns.begin(), items.columns.end());
        }
        if (source.OneFile()) {
            const std::optional<std::size_t> group = FindColumn(columns, source.groupColumn);
            if (!group) {
                return std::nullopt;
            }
            kept.insert(*group);
        }
        return std::vector<std::size_t>(kept.begin(), kept.end());
    };
}

} // namespace

ExtractedSamples ReadSamples(const SampleSource& source, const StopAsked& stopAsked)
{
    DataTable targetTable;
    DataTable replicationTable;
    ExtractedSamples failed;
    DataReadResult read =
        ReadDataTable(source.targetFile, source.delimiter, targetTable, NeededColumns(source, nullptr), stopAsked);
    if (read.ok && !source.OneFile()) {
        // The Replication file is matched to the Target's items by name.
        std::vector<std::string> names;
        const ItemColumns items = ResolveItemList(source.items, targetTable.columns, source.targetFile);
        for (const std::size_t column : items.columns) {
            names.push_back(targetTable.columns[column].name);
        }
        read = ReadDataTable(source.replicationFile, source.delimiter, replicationTable,
                             items.ok ? NeededColumns(source, &names) : ColumnChoice{}, stopAsked);
    }
    if (!read.ok) {
        failed.message = read.message;
        failed.stopped = read.stopped;
        return failed;
    }
    try {
        return ExtractSamples(source, targetTable, replicationTable);
    } catch (const std::bad_alloc&) {
        failed.message = NoMemoryMessage(source.targetFile, targetTable.rows.size(), targetTable.columns.size());
        return failed;
    }
}

} // namespace talver
