// Runs talver-batch in-process on one file with column names that holds both
// samples: the file's bytes and the options --data, --group, --target-group,
// --replication-group, --items, --missing, --delimiter and --html come from
// the input. The file is made of header names, group values and cells that
// are often close to what a survey export holds, so that runs get past the
// first refusal.
//
// Whatever the input: the data file does not change, the earlier report and
// HTML page are either kept byte for byte or replaced by complete ones, and
// no temporary file is left behind.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

#include "app/batch/BatchRun.h"
#include "file_text.h"
#include "fuzz_support.h"

namespace fs = std::filesystem;

namespace {

const std::string kEarlierReport = "an earlier report\n";
const std::string kEarlierPage = "<p>an earlier page</p>\n";

fs::path ScratchPath()
{
    return fs::temp_directory_path() / ("talver_fuzz_grouped_" + std::to_string(getpid()));
}

const fs::path& Folder()
{
    static const fs::path folder = [] {
        const fs::path made = ScratchPath();
        fs::remove_all(made);
        fs::create_directories(made);
        fs::current_path(made);
        setenv("TALVER_EDITOR", "true", 1);
        std::atexit([] {
            std::error_code ignored;
            fs::remove_all(ScratchPath(), ignored);
        });
        return made;
    }();
    return folder;
}

// One of a few likely strings, or the input's own bytes.
std::string Pick(FuzzedDataProvider& input, std::initializer_list<const char*> likely)
{
    const std::size_t choice = input.ConsumeIntegralInRange<std::size_t>(0, likely.size());
    if (choice == likely.size()) {
        return input.ConsumeRandomLengthString(24);
    }
    return *(likely.begin() + choice);
}

const char kDelimiters[] = {',', ';', '\t', '|'};

std::string DataFile(FuzzedDataProvider& input)
{
    const char delimiter = kDelimiters[input.ConsumeIntegralInRange<std::size_t>(0, std::size(kDelimiters) - 1)];
    std::string text = input.ConsumeBool() ? "" : "\xEF\xBB\xBF";
    const int columns = input.ConsumeIntegralInRange<int>(1, 6);
    for (int j = 0; j < columns; ++j) {
        text += (j ? std::string(1, delimiter) : "") + Pick(input, {"group", "q1", "q2", "q3", "\"q4\"", "id"});
    }
    const std::string end = input.ConsumeBool() ? "\n" : "\r\n";
    text += end;
    const int rows = input.ConsumeIntegralInRange<int>(0, 40);
    for (int i = 0; i < rows && input.remaining_bytes() > 0; ++i) {
        for (int j = 0; j < columns; ++j) {
            text += j ? std::string(1, delimiter) : "";
            text += j == 0 ? Pick(input, {"a", "b", "A", "20200104", "20200103", "\"b\"", " a"})
                           : Pick(input, {"1", "2", "3", "4", "5", "2.5", "NA", "", ".", "-9", "1e30", "3,5"});
        }
        text += end;
    }
    return text;
}

std::vector<std::string> CommandLine(FuzzedDataProvider& input)
{
    std::vector<std::string> arguments = {"talver-batch", "--data", "data.csv", "--output", "old.txt",
                                          "--html", "old.html", "--threads", "1", "--samples", "500",
                                          "--no-congruence", "--no-discrepancy", "--no-discriminations",
                                          "--no-residual-variances"};
    const int count = input.ConsumeIntegralInRange<int>(0, 9);
    for (int k = 0; k < count && input.remaining_bytes() > 0; ++k) {
        switch (input.ConsumeIntegralInRange<int>(0, 8)) {
        case 0: arguments.insert(arguments.end(), {"--group", Pick(input, {"group", "q1", "id"})}); break;
        case 1: arguments.insert(arguments.end(), {"--target-group", Pick(input, {"a", "A", "20200104"})}); break;
        case 2: arguments.insert(arguments.end(), {"--replication-group", Pick(input, {"b", "20200103"})}); break;
        case 3: arguments.insert(arguments.end(), {"--items", Pick(input, {"q1-q3", "q1,q2", "q2-q1", "q4"})}); break;
        case 4: arguments.insert(arguments.end(), {"--missing", Pick(input, {"-9", "-9,99", "1,2", ""})}); break;
        case 5:
            arguments.insert(arguments.end(), {"--delimiter", Pick(input, {"comma", "semicolon", "tab", ";"})});
            break;
        case 6: arguments.insert(arguments.end(), {"--html", Pick(input, {"old.html", "new.html", "data.csv", ""})});
            break;
        case 7: arguments.insert(arguments.end(), {"--dispersion", input.ConsumeBool() ? "polychoric" : "pearson"});
            break;
        default: arguments.insert(arguments.end(), {"--factors", FieldTextFrom(input)}); break;
        }
    }
    // Most runs name a group and both values, so that the samples are taken.
    if (input.ConsumeIntegralInRange<int>(0, 3) != 0) {
        arguments.insert(arguments.end(),
                         {"--group", "group", "--target-group", "a", "--replication-group", "b", "--items", "q1-q3"});
    }
    return arguments;
}

bool CompleteReport(const std::string& text)
{
    return text.find("T A L V E R") != std::string::npos &&
           text.find("TALVER completed\nComputing time: ") != std::string::npos && text.size() >= 9 &&
           text.compare(text.size() - 9, 9, "minutes.\n") == 0;
}

bool CompletePage(const std::string& text)
{
    return text.rfind("<!DOCTYPE html>", 0) == 0 && text.find("</html>") != std::string::npos;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const fs::path& folder = Folder();
    for (const auto& entry : fs::directory_iterator(folder)) {
        fs::remove_all(entry.path());
    }
    WriteFileText(folder / "old.txt", kEarlierReport);
    WriteFileText(folder / "old.html", kEarlierPage);
    FuzzedDataProvider input(data, size);
    const std::string file = DataFile(input);
    WriteFileText(folder / "data.csv", file);
    std::vector<std::string> arguments = CommandLine(input);
    std::vector<char*> argv;
    for (std::string& argument : arguments) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    talver::RunBatchCommandLine(static_cast<int>(argv.size()) - 1, argv.data());

    FUZZ_REQUIRE(ReadFileText(folder / "data.csv") == file);
    const std::string report = ReadFileText(folder / "old.txt");
    FUZZ_REQUIRE(report == kEarlierReport || CompleteReport(report));
    const std::string page = ReadFileText(folder / "old.html");
    FUZZ_REQUIRE(page == kEarlierPage || CompletePage(page));
    for (const auto& entry : fs::directory_iterator(folder)) {
        FUZZ_REQUIRE(entry.path().filename().string().find(".tmp-") == std::string::npos);
    }
    if (fs::exists(folder / "new.html")) {
        FUZZ_REQUIRE(CompletePage(ReadFileText(folder / "new.html")));
    }
    return 0;
}
