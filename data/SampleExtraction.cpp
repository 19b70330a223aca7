#include "data/SampleExtraction.h"

#include "data/DataFileKind.h"
#include "data/DelimitedReader.h"
#include "data/ItemSelection.h"
#include "data/ScoreCells.h"
#include "data/StatisticsFileReader.h"

#include <set>

namespace talver {

DataReadResult ReadDataTable(const std::string& path, char delimiter, DataTable& table)
{
    const DataFileKind kind = KindOfDataFile(path);
    if (kind == DataFileKind::Spss || kind == DataFileKind::Stata || kind == DataFileKind::Sas) {
        return ReadStatisticsFile(path, kind, table);
    }
    return ReadDelimitedFile(path, delimiter, table);
}

std::string SampleShown(const SampleSource& source, bool target)
{
    if (!source.OneFile()) {
        return target ? source.targetFile : source.replicationFile;
    }
    return source.targetFile + " (" + TrimBlanks(source.groupColumn) + " = " +
           TrimBlanks(target ? source.targetGroup : source.replicationGroup) + ")";
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
            line += (first ? "" : ", ") + itemNames[k] + ": " + std::to_string(losses.missingPerItem[k]);
            first = false;
        }
    }
    return line + ")";
}

namespace {

// Distinct values of a group column, for the message when none matches.
std::string GroupValuesShown(const DataTable& table, std::size_t column)
{
    std::set<std::string> values;
    std::string shown;
    for (const std::vector<DataCell>& row : table.rows) {
        const DataCell& cell = row[column];
        std::string value = cell.kind == DataCell::Kind::Text ? TrimBlanks(cell.text) : CellShown(cell);
        if (cell.kind == DataCell::Kind::Number) {
            const auto label = table.columns[column].valueLabels.find(cell.number);
            if (label != table.columns[column].valueLabels.end()) {
                value += " (\"" + label->second + "\")";
            }
        }
        if (values.insert(value).second) {
            if (values.size() > 12) {
                return shown + ", ...";
            }
            shown += (values.size() == 1 ? "" : ", ") + value;
        }
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
            }
        }
        if (complete) {
            into.values.insert(into.values.end(), row.begin(), row.end());
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
            message = "The item \"" + table.columns[column].name + "\" is a string variable in " + fileName +
                      ", not a number. Choose numeric variables as items.";
            return false;
        }
    }
    return true;
}

bool EnoughRows(const ExtractedSample& sample, const char* sampleName, const std::string& shown, std::size_t items,
                std::string& message)
{
    const long long needed = static_cast<long long>(items) + 2;
    if (sample.rows >= needed) {
        return true;
    }
    message = std::string("The ") + sampleName + " sample (" + shown + ") has " + std::to_string(sample.rows) +
              " complete rows";
    if (sample.losses.rowsDropped > 0) {
        message += " after " + std::to_string(sample.losses.rowsDropped) + " rows with missing values were left out";
    }
    message += "; with " + std::to_string(items) + " items the analyses need at least " + std::to_string(needed) +
               ". Choose fewer items or a larger sample.";
    return false;
}

} // namespace

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
            result.message = "There is no group column \"" + TrimBlanks(source.groupColumn) + "\" in " +
                             source.targetFile + ". Its columns are: " + ColumnNamesShown(targetTable.columns) + ".";
            return result;
        }
        for (const std::size_t column : items.columns) {
            if (column == *group) {
                result.message = "The group column \"" + targetTable.columns[column].name +
                                 "\" is also chosen as an item. Leave it out of the items.";
                return result;
            }
        }
        const std::string targetValue = TrimBlanks(source.targetGroup);
        const std::string replicationValue = TrimBlanks(source.replicationGroup);
        if (targetValue.empty() || replicationValue.empty()) {
            result.message = "Give the values of the group column \"" + targetTable.columns[*group].name +
                             "\" that pick the Target and the Replication rows.";
            return result;
        }
        if (targetValue == replicationValue) {
            result.message = "The Target and the Replication samples are both the rows with " +
                             targetTable.columns[*group].name + " = " + targetValue +
                             ". Give each sample its own group value.";
            return result;
        }
        const DataColumn& groupColumn = targetTable.columns[*group];
        for (std::size_t r = 0; r < targetTable.rows.size(); ++r) {
            const DataCell& cell = targetTable.rows[r][*group];
            const bool isTarget = GroupMatches(cell, groupColumn, targetTable.decimalComma, targetValue);
            const bool isReplication = GroupMatches(cell, groupColumn, targetTable.decimalComma, replicationValue);
            if (isTarget && isReplication) {
                result.message = source.targetFile + ", " + RowPlace(targetTable, r) + ": the group value " +
                                 CellShown(cell) + " matches both " + targetValue + " and " + replicationValue +
                                 ". Give group values that tell the samples apart.";
                return result;
            }
            if (isTarget) {
                target.rows.push_back(r);
            } else if (isReplication) {
                replication.rows.push_back(r);
            }
        }
        for (const auto& [rows, value] : {std::pair{&target.rows, targetValue}, {&replication.rows, replicationValue}}) {
            if (rows->empty()) {
                result.message = "No row of " + source.targetFile + " has the value " + value + " in the group column \"" +
                                 groupColumn.name + "\". Its values there are: " +
                                 GroupValuesShown(targetTable, *group) + ".";
                return result;
            }
        }
        replication.itemColumns = items.columns;
    } else {
        for (const std::string& name : result.itemNames) {
            const std::optional<std::size_t> column = FindColumn(replicationTable.columns, name);
            if (!column) {
                result.message = "There is no column \"" + name + "\" in " + source.replicationFile +
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
        !EnoughRows(result.target, "Target", target.shown, items.columns.size(), result.message) ||
        !EnoughRows(result.replication, "Replication", replication.shown, items.columns.size(), result.message)) {
        return result;
    }
    result.ok = true;
    return result;
}

ExtractedSamples ReadSamples(const SampleSource& source)
{
    DataTable targetTable;
    DataTable replicationTable;
    DataReadResult read = ReadDataTable(source.targetFile, source.delimiter, targetTable);
    if (read.ok && !source.OneFile()) {
        read = ReadDataTable(source.replicationFile, source.delimiter, replicationTable);
    }
    if (!read.ok) {
        ExtractedSamples failed;
        failed.message = read.message;
        return failed;
    }
    return ExtractSamples(source, targetTable, replicationTable);
}

} // namespace talver
