#include "web/module/PageCommands.h"

#include "app/RunController.h"
#include "app/batch/BatchOptions.h"
#include "data/DelimitedReader.h"
#include "data/ItemSelection.h"
#include "data/MissingCodes.h"
#include "data/SampleExtraction.h"
#include "data/ScoreCells.h"
#include "matrix/Matrix.h"
#include "matrix/NumberText.h"
#include "report/JsonWriter.h"
#include "web/module/WebPort.h"

#include <cstdio>
#include <exception>
#include <map>
#include <memory>

namespace talver {

namespace {

// Exit statuses of talver-batch.
constexpr int kUserError = 2;
constexpr int kRunFailed = 1;

int ReadConfigureCompute(const BatchOptions& options, bool compute)
{
    WebPort port(options);
    if (!port.CheckCombination()) {
        return kUserError;
    }
    RunController window(port);
    window.Initialise();
    Workspace& workspace = window.GetWorkspace();
    workspace.outputFile = options.outputFile;
    workspace.jsonFile = options.jsonFile;
    workspace.htmlFile = options.htmlFile;
    // The worker has one thread; the report is the same for every count.
    workspace.threadCount = 1;
    window.ReadSampleData();
    if (!workspace.dataLoaded) {
        window.Exit();
        return kUserError;
    }
    window.ConfigureAnalysis();
    if (!workspace.analysisConfigured) {
        window.Exit();
        return kUserError;
    }
    const bool written = !compute || window.Compute();
    window.Exit();
    return written ? 0 : kUserError;
}

std::string CellText(const DataCell& cell)
{
    switch (cell.kind) {
    case DataCell::Kind::Missing: return "";
    case DataCell::Kind::Text: return cell.text;
    case DataCell::Kind::Number: break;
    }
    return ShortestText(cell.number);
}

// The values of a group column as a user types them, in the order they first
// appear, with their numbers of rows; at most kGroupValuesListed.
std::vector<std::pair<std::string, long long>> GroupValues(const DataTable& table, std::size_t column)
{
    constexpr std::size_t kGroupValuesListed = 100;
    std::vector<std::pair<std::string, long long>> values;
    std::map<std::string, std::size_t> position;
    for (std::size_t r = 0; r < table.RowCount(); ++r) {
        std::string text = CellText(table.Cell(r, column));
        const auto first = text.find_first_not_of(" \t");
        text = first == std::string::npos ? "" : text.substr(first, text.find_last_not_of(" \t") - first + 1);
        if (text.empty()) {
            continue;
        }
        const auto [found, added] = position.emplace(text, values.size());
        if (added) {
            if (values.size() == kGroupValuesListed) {
                position.erase(found);
                continue;
            }
            values.emplace_back(text, 0);
        }
        ++values[found->second].second;
    }
    return values;
}

// Scores of the chosen items that look like codes of missing answers, with
// the codes already declared missing left out, to offer them to the user.
void WriteMissingSuggestions(JsonWriter& json, const DataTable& table, const std::vector<std::size_t>& items,
                             const std::string& declared)
{
    const MissingCodes missing = ParseMissingCodes(declared);
    MissingCodeScan scan(static_cast<int>(items.size()));
    std::vector<std::string> names;
    for (std::size_t item : items) {
        names.push_back(table.columns[item].name);
    }
    for (std::size_t r = 0; r < table.RowCount(); ++r) {
        for (std::size_t i = 0; i < items.size(); ++i) {
            double score = 0.0;
            if (InterpretScore(table.Cell(r, items[i]), table.decimalComma, missing, score) == CellStatus::Score) {
                scan.AddValue(static_cast<int>(i), score);
            }
        }
    }
    json.BeginArray("missingSuggestions");
    for (const SuspectMissingCode& suspect : scan.Suspects()) {
        json.BeginObject();
        json.String("code", SuspectCodeList({suspect}));
        json.String("reason", DescribeSuspectCode(suspect, names));
        json.EndObject();
    }
    json.EndArray();
}

} // namespace

int RunPageCommand(const std::vector<std::string>& arguments, bool compute)
{
    std::vector<std::string> owned = arguments;
    std::vector<char*> argv;
    static char program[] = "talver-batch";
    argv.push_back(program);
    for (std::string& argument : owned) {
        argv.push_back(argument.data());
    }
    BatchOptions options;
    if (const std::optional<int> status = ParseBatchOptions(static_cast<int>(argv.size()), argv.data(), options)) {
        return *status;
    }
    try {
        return ReadConfigureCompute(options, compute);
    } catch (const std::exception& failure) {
        FreeAllMatrices();
        std::fprintf(stderr, "The computation failed: %s. No report was written.\n", failure.what());
        return kRunFailed;
    }
}

void WritePreview(const PreviewRequest& request, const std::string& out)
{
    DataTable table;
    const DataReadResult read = ReadDataTable(request.path, DelimiterNamed(request.delimiter), table);
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(out.c_str(), "w"), std::fclose);
    if (!file) {
        return;
    }
    JsonWriter json(file.get());
    json.BeginObject();
    json.Boolean("ok", read.ok);
    json.String("message", read.message);
    if (read.ok) {
        json.Integer("rowCount", static_cast<long long>(table.RowCount()));
        json.String("delimiter", table.delimiter == '\t' ? "tab" : std::string(1, table.delimiter));
        json.Boolean("decimalComma", table.decimalComma);
        json.BeginArray("columns");
        for (const DataColumn& column : table.columns) {
            json.String(nullptr, column.name);
        }
        json.EndArray();
        json.BeginArray("rows");
        for (std::size_t r = 0; r < table.RowCount() && r < static_cast<std::size_t>(request.rows); ++r) {
            json.BeginArray();
            for (std::size_t column = 0; column < table.columns.size(); ++column) {
                json.String(nullptr, CellText(table.Cell(r, column)));
            }
            json.EndArray();
        }
        json.EndArray();
        if (!request.items.empty()) {
            const ItemColumns chosen = ResolveItemList(request.items, table.columns, request.path);
            json.String("itemsMessage", chosen.message);
            json.BeginArray("itemColumns");
            for (std::size_t column : chosen.columns) {
                json.Integer(nullptr, static_cast<long long>(column));
            }
            json.EndArray();
            WriteMissingSuggestions(json, table, chosen.columns, request.missing);
        }
        if (const std::optional<std::size_t> group = FindColumn(table.columns, request.group)) {
            json.String("groupColumn", request.group);
            json.BeginArray("groupValues");
            for (const auto& [value, count] : GroupValues(table, *group)) {
                json.BeginObject();
                json.String("value", value);
                json.Integer("count", count);
                json.EndObject();
            }
            json.EndArray();
        }
    }
    json.EndObject();
    std::fputs("\n", file.get());
}

} // namespace talver
