// Feeds the reader of statistics packages' files any bytes as the file of one
// package (chosen when the target is built: TALVER_FUZZ_FILE_KIND and
// TALVER_FUZZ_FILE_EXTENSION), then takes two samples from what it read, as
// a run with --data, --group and --items would.
//
// Besides the sanitizers' checks: a refusal has a message and a reading
// none, every row is as wide as the list of variables, and the samples taken
// hold whole rows of finite scores.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

#include "data/SampleExtraction.h"
#include "data/ScoreCells.h"
#include "data/StatisticsFileReader.h"
#include "fuzz_support.h"

namespace {

const std::string& FilePath()
{
    static const std::string path = (std::filesystem::temp_directory_path() /
                                     ("talver_fuzz_" + std::to_string(getpid()) + TALVER_FUZZ_FILE_EXTENSION))
                                        .string();
    return path;
}

// A group value as a user would type it: the text, or the number.
std::string TypedValue(const DataCell& cell)
{
    return cell.kind == DataCell::Kind::Text ? cell.text : CellShown(cell);
}

void CheckSample(const ExtractedSample& sample, std::size_t items)
{
    FUZZ_REQUIRE(sample.values.size() == static_cast<std::size_t>(sample.rows) * items);
    for (const float value : sample.values) {
        FUZZ_REQUIRE(std::isfinite(value));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string& path = FilePath();
    std::ofstream(path, std::ios::binary | std::ios::trunc).write(reinterpret_cast<const char*>(data),
                                                                 static_cast<std::streamsize>(size));
    DataTable table;
    const DataReadResult read = ReadStatisticsFile(path, DataFileKind::TALVER_FUZZ_FILE_KIND, table);
    FUZZ_REQUIRE(read.ok == read.message.empty());
    // The first variable tells the samples apart by its first two values
    // (or labels); the others are the items.
    if (read.ok && table.columns.size() >= 2 && !table.columns[0].name.empty() &&
        !table.columns.back().name.empty() && table.RowCount() >= 2) {
        SampleSource source;
        source.targetFile = path;
        source.groupColumn = table.columns[0].name;
        source.targetGroup = TypedValue(table.Cell(0, 0));
        source.replicationGroup = TypedValue(table.Cell(1, 0));
        source.items = table.columns[1].name + "-" + table.columns.back().name;
        source.missing = "-9";
        const ExtractedSamples samples = ExtractSamples(source, table, table);
        FUZZ_REQUIRE(samples.ok == samples.message.empty());
        if (samples.ok) {
            CheckSample(samples.target, samples.itemNames.size());
            CheckSample(samples.replication, samples.itemNames.size());
        }
    }
    std::remove(path.c_str());
    return 0;
}
