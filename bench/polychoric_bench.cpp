// The polychoric matrix of the example Target sample (707 x 10, scores 1..5),
// evaluated straightforwardly (four bivariate probabilities per cell, a
// golden-section search on the likelihood) and by the engine (shared
// corners, Newton steps on the score).

#include <cstdio>
#include <cstdlib>
#include <fstream>

#include <benchmark/benchmark.h>

#include "PolychoricReference.h"
#include "matrix/MatrixOps.h"
#include "stats/Polychoric.h"

using namespace talver;

namespace {

constexpr int kParticipants = 707;
constexpr int kItems = 10;

Matrix* TargetSample()
{
    std::ifstream in(TALVER_SOURCE_DIR "/examples/target.dat");
    Matrix* data = NewMatrix(kParticipants, kItems);
    for (int n = 0; n < kParticipants; ++n) {
        for (int i = 0; i < kItems; ++i) {
            if (!(in >> (*data)(n, i))) {
                std::fprintf(stderr, "cannot read examples/target.dat\n");
                std::exit(1);
            }
        }
    }
    return data;
}

void StraightforwardPolychoricMatrix(benchmark::State& state)
{
    MatrixScope scope;
    const Matrix* data = TargetSample();
    for (auto _ : state) {
        MatrixScope iteration;
        benchmark::DoNotOptimize(ReferencePolychoricMatrix(data));
    }
}

void CachedPolychoricMatrix(benchmark::State& state)
{
    MatrixScope scope;
    const Matrix* data = TargetSample();
    const Matrix* lowest = Filled(kItems, 1, 1.0);
    const Matrix* highest = Filled(kItems, 1, 5.0);
    for (auto _ : state) {
        MatrixScope iteration;
        benchmark::DoNotOptimize(PolychoricMatrix(data, lowest, highest));
    }
}

} // namespace

BENCHMARK(StraightforwardPolychoricMatrix)->Unit(benchmark::kMillisecond);
BENCHMARK(CachedPolychoricMatrix)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
