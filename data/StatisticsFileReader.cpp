#include "data/StatisticsFileReader.h"

#include <readstat.h>

#include <filesystem>
#include <memory>

namespace talver {

namespace {

struct Reading {
    DataTable& table;
    // The value-label set of each column, by the name the file gives it.
    std::vector<std::string> labelSetOfColumn;
    std::map<std::string, std::map<double, std::string>> labelSets;
    std::string error;
};

int OnVariable(int index, readstat_variable_t* variable, const char* labelSet, void* context)
{
    Reading& reading = *static_cast<Reading*>(context);
    if (index != static_cast<int>(reading.table.columns.size())) {
        reading.error = "its variables are out of order";
        return READSTAT_HANDLER_ABORT;
    }
    const char* name = readstat_variable_get_name(variable);
    const bool isString = readstat_variable_get_type_class(variable) == READSTAT_TYPE_CLASS_STRING;
    reading.table.columns.push_back(DataColumn{name ? name : "", isString, {}});
    reading.labelSetOfColumn.push_back(labelSet ? labelSet : "");
    return READSTAT_HANDLER_OK;
}

int OnValue(int row, readstat_variable_t* variable, readstat_value_t value, void* context)
{
    Reading& reading = *static_cast<Reading*>(context);
    std::vector<std::vector<DataCell>>& rows = reading.table.rows;
    const int column = readstat_variable_get_index(variable);
    const std::size_t width = reading.table.columns.size();
    // Rows arrive in order, each variable by variable.
    if (row < 0 || static_cast<std::size_t>(row) > rows.size() || column < 0 ||
        static_cast<std::size_t>(column) >= width) {
        reading.error = "its rows are out of order";
        return READSTAT_HANDLER_ABORT;
    }
    if (static_cast<std::size_t>(row) == rows.size()) {
        rows.emplace_back(width);
    }
    DataCell& cell = rows[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
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

int OnValueLabel(const char* labelSet, readstat_value_t value, const char* label, void* context)
{
    Reading& reading = *static_cast<Reading*>(context);
    if (labelSet && label && readstat_value_type_class(value) == READSTAT_TYPE_CLASS_NUMERIC &&
        !readstat_value_is_tagged_missing(value) && !readstat_value_is_system_missing(value)) {
        reading.labelSets[labelSet][readstat_double_value(value)] = label;
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

DataReadResult ReadStatisticsFile(const std::string& path, DataFileKind kind, DataTable& table)
{
    table = DataTable{};
    std::error_code fileError;
    if (!std::filesystem::exists(path, fileError)) {
        return {false, path + ": no such file. Check its name and folder."};
    }
    if (!std::filesystem::is_regular_file(path, fileError)) {
        return {false, path + ": not a regular file that can be read. Choose the data file itself."};
    }
    std::unique_ptr<readstat_parser_t, void (*)(readstat_parser_t*)> parser(readstat_parser_init(),
                                                                             readstat_parser_free);
    Reading reading{table, {}, {}, {}};
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
    if (status != READSTAT_OK || !reading.error.empty()) {
        const std::string why = reading.error.empty() ? readstat_error_message(status) : reading.error;
        table = DataTable{};
        return {false, path + ": the file could not be read as " + DescriptionOf(kind) + " (" + why +
                           "). Check that the file is what its extension says."};
    }
    for (std::size_t j = 0; j < table.columns.size(); ++j) {
        const auto labels = reading.labelSets.find(reading.labelSetOfColumn[j]);
        if (labels != reading.labelSets.end()) {
            table.columns[j].valueLabels = labels->second;
        }
    }
    // A variable written without a value in some row leaves that cell missing.
    return {true, ""};
}

} // namespace talver
