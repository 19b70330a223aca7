// Small versions of the benchmark jobs through talver-batch: the report is
// the same byte for byte for 1, 2 and 4 threads and the same as the release
// before replicates ran on several threads made it (fixtures/job_*.txt, from
// fixtures/make_job_fixtures.sh; the polychoric job's from the release whose
// polychoric estimate became exact); the full-precision companion file is the
// same for every thread count. The ML job redraws replicates in both
// bootstrap analyses.

#include "batch_support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>


namespace {

const std::string kSource = TALVER_SOURCE_DIR;
const std::string kFixtures = kSource + "/tests/batch/fixtures/";

struct Job {
    std::string name;
    std::string target;
    std::string replication;
    std::vector<std::string> arguments;
};

std::vector<Job> SmallJobs()
{
    const std::string analyses = kSource + "/tests/analyses/fixtures/";
    return {
        {"road", kSource + "/examples/target.dat", kSource + "/examples/replica.dat", {}},
        {"polychoric", kFixtures + "polychoric_target.dat", kFixtures + "polychoric_replica.dat",
         {"--target-count", "200", "--replication-count", "150", "--items", "6", "--dispersion", "polychoric"}},
        {"ml", analyses + "discrimination_target.dat", analyses + "discrimination_replica.dat",
         {"--target-count", "120", "--replication-count", "90", "--items", "8", "--method", "ml", "--dispersion",
          "pearson"}},
        {"twenty", kFixtures + "twenty_target.dat", kFixtures + "twenty_replica.dat",
         {"--target-count", "150", "--replication-count", "120", "--items", "20", "--factors", "3"}},
    };
}

// The report with the date, the time of day and the computing time blanked,
// line by line as the fixture script's sed does.
std::string BlankClock(const std::string& report)
{
    std::istringstream in(report);
    std::string blanked;
    for (std::string line; std::getline(in, line);) {
        const std::size_t text = line.find_first_not_of(' ');
        const std::string indent = line.substr(0, text == std::string::npos ? line.size() : text);
        for (const std::string label : {"Date: ", "Time: "}) {
            if (text != std::string::npos && line.compare(text, label.size(), label) == 0) {
                line = indent + label + "-";
            }
        }
        if (line.rfind("Computing time: ", 0) == 0) {
            line = "Computing time: -";
        }
        blanked += line + "\n";
    }
    return blanked;
}

struct JobOutput {
    std::string report;
    std::string json;
};

JobOutput RunJob(const Job& job, int threads)
{
    ScratchFolder folder("threads_" + job.name + "_" + std::to_string(threads));
    std::filesystem::copy_file(job.target, folder.Path("target.dat"));
    std::filesystem::copy_file(job.replication, folder.Path("replica.dat"));
    std::vector<std::string> arguments = job.arguments;
    for (const std::string& argument :
         {std::string("--samples"), std::string("500"), std::string("--json"), std::string("output.json"),
          std::string("--threads"), std::to_string(threads)}) {
        arguments.push_back(argument);
    }
    const BatchRun run = RunBatch(folder.Path(""), arguments);
    EXPECT_EQ(run.exitStatus, 0) << run.errorOutput;
    return {BlankClock(ReadFile(folder.Path("output.txt"))), ReadFile(folder.Path("output.json"))};
}

TEST(ThreadCount, SmallJobsGiveTheReportsOfOneThreadAndOfTheEarlierRelease)
{
    for (const Job& job : SmallJobs()) {
        const std::string expected = ReadFile(kFixtures + "job_" + job.name + ".txt");
        ASSERT_FALSE(expected.empty()) << job.name;
        const JobOutput one = RunJob(job, 1);
        EXPECT_EQ(one.report, expected) << job.name;
        // The polychoric job is a Heywood case (item 6 of the Replication
        // sample), and says so once.
        const std::size_t warnings = one.report.find("WARNING");
        EXPECT_EQ(warnings == std::string::npos, job.name != "polychoric") << job.name;
        EXPECT_EQ(one.report.find("WARNING", warnings == std::string::npos ? warnings : warnings + 1),
                  std::string::npos);
        for (int threads : {2, 4}) {
            const JobOutput many = RunJob(job, threads);
            EXPECT_EQ(many.report, expected) << job.name << " with " << threads << " threads";
            EXPECT_EQ(many.json, one.json) << job.name << " with " << threads << " threads";
        }
    }
}

TEST(ThreadCount, RefusesCountsBelowOne)
{
    ScratchFolder folder("threads_refused");
    folder.Write("target.dat", ScoreText(40, 4, 1));
    folder.Write("replica.dat", ScoreText(30, 4, 2));
    for (const std::string count : {"0", "-2", "two"}) {
        const BatchRun run = RunBatch(folder.Path(""), {"--target-count", "40", "--replication-count", "30",
                                                        "--items", "4", "--factors", "1", "--threads", count});
        EXPECT_EQ(run.exitStatus, 2) << count;
        EXPECT_NE(run.errorOutput.find("--threads"), std::string::npos) << run.errorOutput;
    }
}

} // namespace
