// Runs the whole command line of talver-batch in-process, with options and
// paths drawn from the input, in a scratch folder that holds two small samples,
// an earlier report and JSON file, links to them, a folder and a FIFO.
//
// Whatever the command line: no input file changes, an earlier report or JSON
// file is either kept byte for byte or replaced by a complete one, and no
// temporary file is left behind.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "app/batch/BatchRun.h"
#include "file_text.h"
#include "fuzz_support.h"

namespace fs = std::filesystem;

namespace {

const std::string kEarlierReport = "an earlier report\n";
const std::string kEarlierJson = "{\"earlier\": true}\n";

std::string Scores(int rows, int items, unsigned seed)
{
    std::string text;
    for (int i = 0; i < rows; ++i) {
        for (int j = 0; j < items; ++j) {
            seed = seed * 1103515245u + 12345u;
            text += std::to_string(1 + (seed >> 16) % 5) + (j + 1 == items ? "\n" : " ");
        }
    }
    return text;
}

fs::path ScratchPath()
{
    return fs::temp_directory_path() / ("talver_fuzz_batch_" + std::to_string(getpid()));
}

// The scratch folder, made once; the fuzzer works in it.
struct Scratch {
    fs::path folder;
    std::map<std::string, std::string> inputs;
};

Scratch& Folder()
{
    static Scratch scratch = [] {
        Scratch made;
        made.folder = ScratchPath();
        fs::remove_all(made.folder);
        fs::create_directories(made.folder / "sub");
        made.inputs["target.dat"] = Scores(30, 4, 1);
        made.inputs["replica.dat"] = Scores(20, 4, 2);
        for (const auto& [name, text] : made.inputs) {
            WriteFileText(made.folder / name, text);
        }
        fs::create_symlink("target.dat", made.folder / "link.dat");
        mkfifo((made.folder / "pipe").c_str(), 0600);
        fs::current_path(made.folder);
        // An editor asked for by --open does nothing.
        setenv("TALVER_EDITOR", "true", 1);
        std::atexit([] {
            std::error_code ignored;
            fs::remove_all(ScratchPath(), ignored);
        });
        return made;
    }();
    return scratch;
}

// Paths the command line may name: inputs under other spellings, earlier
// outputs, links, a folder, a FIFO, missing folders, new files.
const char* const kPaths[] = {"target.dat", "./target.dat", "sub/../target.dat", "link.dat", "replica.dat",
                              "old.txt",    "old.json",     "./old.txt",         "sub/../old.json", "new.txt",
                              "new.json",   "sub",          "pipe",              "missing/out.txt", "",
                              "sub/new.txt"};

// A file name made of the input's bytes, kept inside the folder: letters,
// digits, '.', '_' and '-' only, and never a name of dots alone.
std::string SafeName(FuzzedDataProvider& input)
{
    std::string name;
    for (char c : input.ConsumeRandomLengthString(12)) {
        if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '.' || c == '_' || c == '-') {
            name += c;
        }
    }
    if (name.find_first_not_of('.') == std::string::npos) {
        name = "x" + name;
    }
    return name;
}

std::string PathFrom(FuzzedDataProvider& input)
{
    if (input.ConsumeIntegralInRange<int>(0, 5) == 0) {
        return SafeName(input);
    }
    return kPaths[input.ConsumeIntegralInRange<std::size_t>(0, std::size(kPaths) - 1)];
}

std::vector<std::string> CommandLine(FuzzedDataProvider& input)
{
    std::vector<std::string> arguments = {"talver-batch", "--target-count", "30", "--replication-count", "20",
                                          "--items", "4", "--samples", "500", "--threads", "2"};
    // The bootstrap takes seconds under the sanitizers: most runs leave it
    // out, so that the paths get many runs; one in 64 computes the item
    // discriminations.
    arguments.insert(arguments.end(), {"--no-congruence", "--no-discrepancy"});
    if (input.ConsumeIntegralInRange<int>(0, 63) != 0) {
        arguments.insert(arguments.end(), {"--no-discriminations", "--no-residual-variances"});
    }
    const int count = input.ConsumeIntegralInRange<int>(0, 8);
    for (int k = 0; k < count && input.remaining_bytes() > 0; ++k) {
        switch (input.ConsumeIntegralInRange<int>(0, 11)) {
        case 0: arguments.insert(arguments.end(), {"--output", PathFrom(input)}); break;
        case 1: arguments.insert(arguments.end(), {"--json", PathFrom(input)}); break;
        case 2: arguments.insert(arguments.end(), {"--target", PathFrom(input)}); break;
        case 3: arguments.insert(arguments.end(), {"--replication", PathFrom(input)}); break;
        case 4: arguments.insert(arguments.end(), {"--target-count", FieldTextFrom(input)}); break;
        case 5: arguments.insert(arguments.end(), {"--items", FieldTextFrom(input)}); break;
        case 6: arguments.insert(arguments.end(), {"--factors", FieldTextFrom(input)}); break;
        case 7: arguments.insert(arguments.end(), {"--dispersion", input.ConsumeBool() ? "polychoric" : "pearson"});
            break;
        case 8: arguments.insert(arguments.end(), {"--method", input.ConsumeBool() ? "ml" : "pca"}); break;
        case 9: arguments.push_back("--no-discriminations"); break;
        case 10: arguments.push_back(input.ConsumeBool() ? "--no-difficulties" : "--no-discrepancy"); break;
        default: arguments.insert(arguments.end(), {"--lowest", FieldTextFrom(input)}); break;
        }
    }
    return arguments;
}

// A report or JSON file that a run wrote whole.
bool Complete(const std::string& text)
{
    const bool report = text.find("T A L V E R") != std::string::npos &&
                        text.find("TALVER completed\nComputing time: ") != std::string::npos &&
                        text.size() >= 9 && text.compare(text.size() - 9, 9, "minutes.\n") == 0;
    const bool json = text.rfind("{\n  \"program\": \"TALVER\"", 0) == 0 && text.size() >= 2 &&
                      text.compare(text.size() - 2, 2, "}\n") == 0;
    return report || json;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Scratch& scratch = Folder();
    WriteFileText(scratch.folder / "old.txt", kEarlierReport);
    WriteFileText(scratch.folder / "old.json", kEarlierJson);
    FuzzedDataProvider input(data, size);
    std::vector<std::string> arguments = CommandLine(input);
    std::vector<char*> argv;
    for (std::string& argument : arguments) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    talver::RunBatchCommandLine(static_cast<int>(argv.size()) - 1, argv.data());

    for (const auto& [name, text] : scratch.inputs) {
        FUZZ_REQUIRE(ReadFileText(scratch.folder / name) == text);
    }
    const std::string report = ReadFileText(scratch.folder / "old.txt");
    FUZZ_REQUIRE(report == kEarlierReport || Complete(report));
    const std::string json = ReadFileText(scratch.folder / "old.json");
    FUZZ_REQUIRE(json == kEarlierJson || Complete(json));
    // Every other file the run made is complete; nothing temporary stays.
    for (const fs::path& folder : {scratch.folder, scratch.folder / "sub"}) {
        for (const auto& entry : fs::directory_iterator(folder)) {
            const std::string name = entry.path().filename().string();
            FUZZ_REQUIRE(name.find(".tmp-") == std::string::npos);
            const bool regular = entry.symlink_status().type() == fs::file_type::regular;
            if (regular && scratch.inputs.count(name) == 0 && name != "old.txt" && name != "old.json") {
                FUZZ_REQUIRE(Complete(ReadFileText(entry.path())));
                fs::remove(entry.path());
            }
        }
    }
    return 0;
}
