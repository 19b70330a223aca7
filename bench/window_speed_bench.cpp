// talver-window-bench: times polychoric correlation matrices of the example
// Target sample computed inside the window's process, the way a run computes
// them there (a bootstrap loop on the window's thread and workers, the
// counter painted after every replicate), and in a process without any
// window, the way talver-batch computes them. Fails (exit status 1) when the
// window takes more than 1.5 times the processor time of the batch side.
//
// Usage: talver-window-bench [MATRICES]   (default 200; run where
// examples/target.dat is, or give TALVER_EXAMPLES the folder that holds it)

#include "analyses/OrderedReplicates.h"
#include "app/qt/ApplicationSetup.h"
#include "app/qt/MainWindow.h"
#include "matrix/MatrixOps.h"
#include "stats/Polychoric.h"

#include <QApplication>
#include <QProcess>
#include <QTest>

#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <string>

using namespace talver;

namespace {

constexpr int kParticipants = 707;
constexpr int kItems = 10;
constexpr int kThreads = 2;
constexpr double kMostSlowdown = 1.5;
constexpr char kBatchSide[] = "--batch-side";

double ProcessorSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) * 1e-6;
}

Matrix* TargetSample()
{
    const char* folder = std::getenv("TALVER_EXAMPLES");
    const std::string path = std::string(folder != nullptr ? folder : "examples") + "/target.dat";
    std::ifstream in(path);
    Matrix* data = NewMatrix(kParticipants, kItems);
    for (int n = 0; n < kParticipants; ++n) {
        for (int i = 0; i < kItems; ++i) {
            if (!(in >> (*data)(n, i))) {
                std::fprintf(stderr, "talver-window-bench: cannot read %s\n", path.c_str());
                std::exit(2);
            }
        }
    }
    return data;
}

// Processor seconds per polychoric matrix: `matrices` of them as the
// replicates of a bootstrap loop, each committed replicate shown by `show`.
double SecondsPerMatrix(int matrices, const std::function<void(int)>& show)
{
    MatrixScope scope;
    const Matrix* data = TargetSample();
    const Matrix* lowest = Filled(kItems, 1, 1.0);
    const Matrix* highest = Filled(kItems, 1, 5.0);
    ReplicateLoop loop;
    loop.count = matrices;
    loop.usualDraws = FixedDraws(0);
    loop.threads = kThreads;
    RandomSource random;
    const ReplicateDrawMaker makeDraw = [&] {
        return ReplicateDraw([&](RandomSource&) {
            MatrixScope replicate;
            ReplicateOutcome outcome;
            outcome.target.push_back((*PolychoricMatrix(data, lowest, highest))(0, 1));
            return outcome;
        });
    };
    const double start = ProcessorSeconds();
    RunReplicatesInOrder(loop, random, makeDraw, [&](int t, const ReplicateOutcome&) { show(t); });
    return (ProcessorSeconds() - start) / matrices;
}

} // namespace

int main(int argc, char** argv)
{
    int matrices = 200;
    bool batchSide = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], kBatchSide) == 0) {
            batchSide = true;
        } else {
            matrices = std::max(1, std::atoi(argv[i]));
        }
    }
    if (batchSide) {
        // No Qt object in this process, as in talver-batch.
        std::printf("%.9f\n", SecondsPerMatrix(matrices, [](int) {}));
        return 0;
    }

    QApplication application(argc, argv);
    PrepareApplication(application);
    MainWindow window;
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) {
        std::fprintf(stderr, "talver-window-bench: the window was not shown\n");
        return 2;
    }
    const double inWindow = SecondsPerMatrix(matrices, [&](int t) {
        window.DisplayTexts({" COMPUTING ...", "Item discriminations", "Bootstrap resampling ...",
                             "Done: " + std::to_string(t + 1)});
    });

    QProcess batch;
    batch.start(QCoreApplication::applicationFilePath(),
                {QString::fromLatin1(kBatchSide), QString::number(matrices)});
    if (!batch.waitForFinished(-1) || batch.exitCode() != 0) {
        std::fprintf(stderr, "talver-window-bench: the batch side failed\n");
        return 2;
    }
    const double inBatch = batch.readAllStandardOutput().trimmed().toDouble();
    const double ratio = inWindow / inBatch;
    std::printf("one polychoric matrix (707 x 10, %d threads, %d matrices), processor time:\n"
                "  window process: %8.2f ms\n  batch process:  %8.2f ms\n  ratio:          %8.2f (at most %.1f)\n",
                kThreads, matrices, inWindow * 1e3, inBatch * 1e3, ratio, kMostSlowdown);
    return ratio <= kMostSlowdown ? 0 : 1;
}
