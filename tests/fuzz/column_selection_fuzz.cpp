// Feeds the choice of items, group and missing codes any text, over a small
// table of names and cells drawn from the input.
//
// Besides the sanitizers' checks: a refusal has a message and a success none;
// a success gives each sample complete rows of the chosen items only, at
// least items + 2 of them, single-precision values, and counts of losses
// that add up with the rows kept.

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <set>
#include <string>

#include "data/ItemSelection.h"
#include "data/SampleExtraction.h"
#include "fuzz_support.h"

namespace {

std::string PickOrAny(FuzzedDataProvider& input, std::initializer_list<const char*> usual)
{
    const std::size_t choice = input.ConsumeIntegralInRange<std::size_t>(0, usual.size());
    if (choice == usual.size()) {
        return input.ConsumeRandomLengthString(8);
    }
    return *(usual.begin() + choice);
}

DataTable TableFrom(FuzzedDataProvider& input)
{
    DataTable table;
    table.decimalComma = input.ConsumeBool();
    const int width = input.ConsumeIntegralInRange<int>(1, 6);
    for (int j = 0; j < width; ++j) {
        DataColumn column;
        column.name = PickOrAny(input, {"q1", "q2", "q3", "q-4", "g", "", "q1-q2"});
        column.isString = input.ConsumeIntegralInRange<int>(0, 9) == 0;
        table.columns.push_back(column);
    }
    const int rows = input.ConsumeIntegralInRange<int>(0, 24);
    for (int i = 0; i < rows; ++i) {
        std::vector<DataCell> row(static_cast<std::size_t>(width));
        for (DataCell& cell : row) {
            switch (input.ConsumeIntegralInRange<int>(0, 3)) {
            case 0: cell.kind = DataCell::Kind::Missing; break;
            case 1:
                cell.kind = DataCell::Kind::Number;
                cell.number = input.ConsumeFloatingPoint<double>();
                break;
            default:
                cell.kind = DataCell::Kind::Text;
                cell.text = PickOrAny(input, {"1", "2", " 3 ", "1,5", "2.5", "NA", ".", "", "-9", "a", "b", "1e40"});
                break;
            }
        }
        table.rows.push_back(std::move(row));
    }
    return table;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    const DataTable first = TableFrom(input);
    const DataTable second = TableFrom(input);
    SampleSource source;
    source.targetFile = "t.csv";
    source.replicationFile = "r.csv";
    source.items = PickOrAny(input, {"q1-q3", "q1,q2", "q1-q2,q3", "q-4", "q1-q2", "q3-q1", "q1,,q2"});
    if (input.ConsumeBool()) {
        source.groupColumn = PickOrAny(input, {"g", "q1"});
        source.targetGroup = PickOrAny(input, {"a", "1", "1.0"});
        source.replicationGroup = PickOrAny(input, {"b", "2", "a"});
    }
    source.missing = PickOrAny(input, {"", "-9", "-9, 99", "a", "1,2"});

    const ItemColumns items = ResolveItemList(source.items, first.columns, source.targetFile);
    FUZZ_REQUIRE(items.ok == items.message.empty());
    if (items.ok) {
        const std::set<std::size_t> distinct(items.columns.begin(), items.columns.end());
        FUZZ_REQUIRE(distinct.size() == items.columns.size() && *distinct.rbegin() < first.columns.size());
    }

    const ExtractedSamples samples = ExtractSamples(source, first, second);
    FUZZ_REQUIRE(samples.ok == samples.message.empty());
    if (!samples.ok) {
        return 0;
    }
    FUZZ_REQUIRE(items.ok && samples.itemNames.size() == items.columns.size());
    const std::size_t p = samples.itemNames.size();
    for (const ExtractedSample* sample : {&samples.target, &samples.replication}) {
        FUZZ_REQUIRE(sample->rows >= static_cast<int>(p) + 2);
        FUZZ_REQUIRE(sample->values.size() == static_cast<std::size_t>(sample->rows) * p);
        FUZZ_REQUIRE(sample->losses.rowsRead == sample->rows + sample->losses.rowsDropped);
        FUZZ_REQUIRE(sample->losses.missingPerItem.size() == p);
        // Every kept row has its place in the file, in the file's order.
        FUZZ_REQUIRE(sample->fileRows.size() == static_cast<std::size_t>(sample->rows));
        FUZZ_REQUIRE(std::adjacent_find(sample->fileRows.begin(), sample->fileRows.end(),
                                        [](std::int64_t a, std::int64_t b) { return a >= b; }) ==
                     sample->fileRows.end());
        FUZZ_REQUIRE(sample->fileRows.empty() || sample->fileRows.front() >= 1);
        int mostMissing = 0;
        long totalMissing = 0;
        for (const int missing : sample->losses.missingPerItem) {
            mostMissing = std::max(mostMissing, missing);
            totalMissing += missing;
        }
        FUZZ_REQUIRE(mostMissing <= sample->losses.rowsDropped && totalMissing >= sample->losses.rowsDropped);
        for (const double value : sample->values) {
            FUZZ_REQUIRE(std::isfinite(value) && static_cast<double>(static_cast<float>(value)) == value);
        }
    }
    return 0;
}
