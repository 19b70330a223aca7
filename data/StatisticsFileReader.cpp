#include "data/StatisticsFileReader.h"

#include "data/FilePath.h"

#include <readstat.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <new>

namespace talver {

namespace {

// Why a reading was ended from inside a handler.
enum class Abort { None, Stopped, TooManyCells, NoMemory };

struct Reading {
    DataTable& table;
    const ColumnChoice& choice;
    const StopAsked& stopAsked;
    // Every variable of the file, and the value-label set of each by the
    // name the file gives it.
    std::vector<DataColumn> columns;
    std::vector<std::string> labelSetOfColumn;
    std::map<std::string, std::map<double, std::string>> labelSets;
    std::map<std::string, std::map<std::string, std::string>> textLabelSets;
    // The position in the table's rows of each variable kept, -1 for the
    // others; made when the first value arrives, when every variable is known.
    std::vector<long> keptAt;
    // The cells of the row being read, which joins the table when the next
    // row begins or the file ends; a variable without a value leaves its
    // cell missing.
    std::vector<DataCell> row;
    bool rowBegun = false;
    // The rows the file's header declares, -1 when it does not say.
    long declaredRows = -1;
    std::size_t mostRows = 0;
    Abort abort = Abort::None;
    std::string error;
    // The longest a label-set name handed to the variable handler can be.
    std::size_t labelSetNameWidth = std::string::npos;
};

// The library hands a Stata variable its label-set name straight from the
// file's fixed-width list, and a damaged file may fill a field with no
// terminating NUL; the name is read no further than the field's width, which
// the format's release gives (9 bytes before release 110, 33 before 118, then
// 129). A release that cannot be read gives the narrowest.
std::size_t StataLabelSetNameWidth(const std::string& path)
{
    std::ifstream file(FilePath(path), std::ios::binary);
    char head[64] = {};
    file.read(head, sizeof head);
    const std::string text(head, static_cast<std::size_t>(file.gcount()));
    int release = 0;
    const std::string::size_type tag = text.find("<release>");
    if (text.rfind("<stata_dta>", 0) == 0 && tag != std::string::npos) {
        for (std::size_t at = tag + 9; at < text.size() && text[at] >= '0' && text[at] <= '9' && release < 1000;
             ++at) {
            release = release * 10 + (text[at] - '0');
        }
    } else if (!text.empty()) {
        release = static_cast<unsigned char>(text[0]);
    }
    return release >= 118 ? 129 : release >= 110 ? 33 : 9;
}

void ChooseColumns(Reading& reading)
{
    std::vector<std::size_t> kept;
    if (const std::optional<std::vector<std::size_t>> chosen =
            reading.choice ? reading.choice(reading.columns) : std::nullopt) {
        kept = *chosen;
    } else {
        for (std::size_t column = 0; column < reading.columns.size(); ++column) {
            kept.push_back(column);
        }
    }
    reading.keptAt.assign(reading.columns.size(), -1);
    for (std::size_t k = 0; k < kept.size(); ++k) {
        reading.keptAt[kept[k]] = static_cast<long>(k);
        reading.table.columns.push_back(reading.columns[kept[k]]);
    }
    reading.mostRows = kept.empty() ? kMostTableCells : kMostTableCells / kept.size();
}

void EndRow(Reading& reading)
{
    if (reading.rowBegun) {
        reading.table.AppendRow(reading.row);
        reading.rowBegun = false;
    }
}

int OnMetadata(readstat_metadata_t* metadata, void* context)
{
    static_cast<Reading*>(context)->declaredRows = readstat_get_row_count(metadata);
    return READSTAT_HANDLER_OK;
}

int OnVariable(int index, readstat_variable_t* variable, const char* labelSet, void* context)
{
    Reading& reading = *static_cast<Reading*>(context);
    if (index != static_cast<int>(reading.columns.size()) || !reading.keptAt.empty()) {
        reading.error = "its variables are out of order";
        return READSTAT_HANDLER_ABORT;
    }
    const char* name = readstat_variable_get_name(variable);
    const bool isString = readstat_variable_get_type_class(variable) == READSTAT_TYPE_CLASS_STRING;
    reading.columns.push_back(DataColumn{name ? name : "", isString, {}, {}});
    reading.labelSetOfColumn.push_back(
        labelSet ? std::string(labelSet, strnlen(labelSet, reading.labelSetNameWidth)) : std::string());
    return READSTAT_HANDLER_OK;
}

// No exception may cross the library's C code: a failed allocation ends the
// reading through the handler's result.
int StoreValue(int row, readstat_variable_t* variable, readstat_value_t value, Reading& reading)
{
    if (reading.keptAt.empty()) {
        ChooseColumns(reading);
        // A compressed file may expand to far more than it takes on disk:
        // one that declares more rows than the table keeps is refused
        // before its values fill the memory.
        if (reading.declaredRows > 0 && static_cast<std::size_t>(reading.declaredRows) > reading.mostRows) {
            reading.abort = Abort::TooManyCells;
            return READSTAT_HANDLER_ABORT;
        }
    }
    const int column = readstat_variable_get_index(variable);
    // Rows arrive in order, each variable by variable.
    const std::size_t rowsRead = reading.table.RowCount() + (reading.rowBegun ? 1 : 0);
    const std::size_t current = reading.rowBegun ? rowsRead - 1 : rowsRead;
    if (row < 0 || static_cast<std::size_t>(row) < current || static_cast<std::size_t>(row) > rowsRead ||
        column < 0 || static_cast<std::size_t>(column) >= reading.keptAt.size()) {
        reading.error = "its rows are out of order";
        return READSTAT_HANDLER_ABORT;
    }
    if (static_cast<std::size_t>(row) == rowsRead) {
        EndRow(reading);
        const std::size_t rows = reading.table.RowCount();
        if (rows % kRowsBetweenStopChecks == 0 && reading.stopAsked && reading.stopAsked()) {
            reading.abort = Abort::Stopped;
            return READSTAT_HANDLER_ABORT;
        }
        if (rows == reading.mostRows) {
            reading.abort = Abort::TooManyCells;
            return READSTAT_HANDLER_ABORT;
        }
        reading.row.assign(reading.table.columns.size(), DataCell{});
        reading.rowBegun = true;
    }
    const long at = reading.keptAt[static_cast<std::size_t>(column)];
    if (at < 0) {
        return READSTAT_HANDLER_OK;
    }
    DataCell& cell = reading.row[static_cast<std::size_t>(at)];
    if (readstat_value_type_class(value) == READSTAT_TYPE_CLASS_STRING) {
        const char* text = readstat_string_value(value);
        cell.kind = DataCell::Kind::Text;
        cell.text = text ? text : "";
    } else if (readstat_value_is_missing(value, variable)) {
        cell.kind = DataCell::Kind::Missing;
    } else {
        cell.kind = DataCell::Kind::Number;
        cell.number = readstat_double_value(value);
    }
    return READSTAT_HANDLER_OK;
}

int OnValue(int row, readstat_variable_t* variable, readstat_value_t value, void* context)
{
    Reading& reading = *static_cast<Reading*>(context);
    try {
        return StoreValue(row, variable, value, reading);
    } catch (const std::bad_alloc&) {
        reading.abort = Abort::NoMemory;
        return READSTAT_HANDLER_ABORT;
    }
}

int OnValueLabel(const char* labelSet, readstat_value_t value, const char* label, void* context)
{
    Reading& reading = *static_cast<Reading*>(context);
    if (!labelSet || !label) {
        return READSTAT_HANDLER_OK;
    }
    try {
        if (readstat_value_type_class(value) == READSTAT_TYPE_CLASS_STRING) {
            // String variables with labels pick groups by their labels too.
            if (const char* text = readstat_string_value(value)) {
                reading.textLabelSets[labelSet][text] = label;
            }
        } else if (!readstat_value_is_tagged_missing(value) && !readstat_value_is_system_missing(value)) {
            reading.labelSets[labelSet][readstat_double_value(value)] = label;
        }
    } catch (const std::bad_alloc&) {
        reading.abort = Abort::NoMemory;
        return READSTAT_HANDLER_ABORT;
    }
    return READSTAT_HANDLER_OK;
}

void OnError(const char* message, void* context)
{
    Reading& reading = *static_cast<Reading*>(context);
    if (message && reading.error.empty()) {
        reading.error = message;
        while (!reading.error.empty() && (reading.error.back() == '\n' || reading.error.back() == '.')) {
            reading.error.pop_back();
        }
    }
}

} // namespace

DataReadResult ReadStatisticsFile(const std::string& path, DataFileKind kind, DataTable& table,
                                  const ColumnChoice& choice, const StopAsked& stopAsked)
{
    table = DataTable{};
    std::error_code fileError;
    if (!std::filesystem::exists(FilePath(path), fileError)) {
        return {false, path + ": no such file. Check its name and folder."};
    }
    if (!std::filesystem::is_regular_file(FilePath(path), fileError)) {
        return {false, path + ": not a regular file that can be read. Choose the data file itself."};
    }
    std::unique_ptr<readstat_parser_t, void (*)(readstat_parser_t*)> parser(readstat_parser_init(),
                                                                             readstat_parser_free);
    Reading reading{table, choice, stopAsked, {}, {}, {}, {}, {}, {}, false, -1, 0, Abort::None, {}, std::string::npos};
    if (kind == DataFileKind::Stata) {
        reading.labelSetNameWidth = StataLabelSetNameWidth(path);
    }
    readstat_set_metadata_handler(parser.get(), OnMetadata);
    readstat_set_variable_handler(parser.get(), OnVariable);
    readstat_set_value_handler(parser.get(), OnValue);
    readstat_set_value_label_handler(parser.get(), OnValueLabel);
    readstat_set_error_handler(parser.get(), OnError);
    readstat_error_t status = READSTAT_OK;
    switch (kind) {
    case DataFileKind::Spss: status = readstat_parse_sav(parser.get(), path.c_str(), &reading); break;
    case DataFileKind::Stata: status = readstat_parse_dta(parser.get(), path.c_str(), &reading); break;
    case DataFileKind::Sas: status = readstat_parse_sas7bdat(parser.get(), path.c_str(), &reading); break;
    default: return {false, path + ": not " + DescriptionOf(kind) + "."};
    }
    if (reading.abort == Abort::None && status == READSTAT_OK && reading.error.empty()) {
        try {
            EndRow(reading);
            table.ShrinkToFit();
        } catch (const std::bad_alloc&) {
            reading.abort = Abort::NoMemory;
        }
    }
    const std::size_t rows = table.RowCount();
    const std::size_t columns = table.columns.size();
    switch (reading.abort) {
    case Abort::None: break;
    case Abort::Stopped: table = DataTable{}; return {false, "", true};
    case Abort::TooManyCells:
        table = DataTable{};
        return {false, TooManyCellsMessage(path, reading.mostRows, columns)};
    case Abort::NoMemory: table = DataTable{}; return {false, NoMemoryMessage(path, rows, columns)};
    }
    if (status != READSTAT_OK || !reading.error.empty()) {
        const std::string why = reading.error.empty() ? readstat_error_message(status) : reading.error;
        table = DataTable{};
        return {false, path + ": the file could not be read as " + DescriptionOf(kind) + " (" + why +
                           "). Check that the file is what its extension says."};
    }
    // A file with variables but no rows never chose its columns.
    if (reading.keptAt.empty()) {
        ChooseColumns(reading);
    }
    for (std::size_t j = 0; j < reading.columns.size(); ++j) {
        const long at = reading.keptAt[j];
        if (at < 0) {
            continue;
        }
        DataColumn& column = table.columns[static_cast<std::size_t>(at)];
        const auto labels = reading.labelSets.find(reading.labelSetOfColumn[j]);
        if (labels != reading.labelSets.end()) {
            column.valueLabels = labels->second;
        }
        const auto textLabels = reading.textLabelSets.find(reading.labelSetOfColumn[j]);
        if (textLabels != reading.textLabelSets.end()) {
            column.textLabels = textLabels->second;
        }
    }
    // A variable written without a value in some row leaves that cell missing.
    return {true, ""};
}

} // namespace talver
