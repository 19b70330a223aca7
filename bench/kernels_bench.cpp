// The kernels of a bootstrap replicate on the example Target sample (707 x 10,
// two factors): what one replicate computes, piece by piece, and the cost of
// making and releasing its small matrices with and without recycling.

#include <cstdio>
#include <cstdlib>
#include <fstream>

#include <benchmark/benchmark.h>

#include "factor/SymmetricEigen.h"
#include "factor/MlExtraction.h"
#include "factor/UlsExtraction.h"
#include "factor/Varimax.h"
#include "matrix/MatrixOps.h"
#include "stats/Bootstrap.h"
#include "stats/RandomSource.h"
#include "support/test_random.h"

using namespace talver;

namespace {

constexpr int kParticipants = 707;
constexpr int kItems = 10;
constexpr int kFactors = 2;

Matrix* ReadTarget()
{
    std::ifstream in(TALVER_SOURCE_DIR "/examples/target.dat");
    Matrix* m = NewMatrix(kParticipants, kItems);
    for (int n = 0; n < kParticipants; ++n) {
        for (int i = 0; i < kItems; ++i) {
            if (!(in >> (*m)(n, i))) {
                std::fprintf(stderr, "cannot read examples/target.dat\n");
                std::exit(1);
            }
        }
    }
    return m;
}

Matrix* UlsLoadings(const Matrix* s)
{
    Matrix* loadings = NewMatrix(kItems, kFactors);
    double stat = 0.0;
    ExtractUls(s, kFactors, 0.0001f, kParticipants, loadings, stat);
    return loadings;
}

// Made before main, when no scope is open, so they live for the whole run.
const Matrix* const kTarget = ReadTarget();
const Matrix* const kCovariance = CovarianceMatrix(kTarget);
const Matrix* const kLoadings = UlsLoadings(kCovariance);

void Resample(benchmark::State& state)
{
    MatrixScope scope;
    Matrix* buffer = NewMatrix(kParticipants, kItems);
    for (auto _ : state) {
        ResampleRows(kTarget, buffer, TestRandom());
        benchmark::ClobberMemory();
    }
}

void Covariance(benchmark::State& state)
{
    for (auto _ : state) {
        MatrixScope iteration;
        benchmark::DoNotOptimize(CovarianceMatrix(kTarget));
    }
}

void Correlation(benchmark::State& state)
{
    for (auto _ : state) {
        MatrixScope iteration;
        benchmark::DoNotOptimize(CorrelationMatrix(kTarget));
    }
}

// The cross product of the data, the largest product of a replicate.
void ProductOfData(benchmark::State& state)
{
    MatrixScope scope;
    const Matrix* transposed = Transposed(kTarget);
    for (auto _ : state) {
        MatrixScope iteration;
        benchmark::DoNotOptimize(Product(transposed, kTarget));
    }
}

void ProductOfSmall(benchmark::State& state)
{
    const Matrix* s = kCovariance;
    for (auto _ : state) {
        MatrixScope iteration;
        benchmark::DoNotOptimize(Product(s, kLoadings));
    }
}

void Eigen(benchmark::State& state)
{
    for (auto _ : state) {
        MatrixScope iteration;
        Matrix* values = NewMatrix(kItems, 1);
        SymmetricEigen(kCovariance, values, NewMatrix(kItems, kItems), kItems);
        benchmark::DoNotOptimize((*values)(0, 0));
    }
}

void Uls(benchmark::State& state)
{
    for (auto _ : state) {
        MatrixScope iteration;
        Matrix* loadings = NewMatrix(kItems, kFactors);
        double stat = 0.0;
        ExtractUls(kCovariance, kFactors, 0.0001f, kParticipants, loadings, stat);
        benchmark::DoNotOptimize(stat);
    }
}

void MaximumLikelihood(benchmark::State& state)
{
    for (auto _ : state) {
        MatrixScope iteration;
        Matrix* loadings = NewMatrix(kItems, kFactors);
        double f = 0.0;
        ExtractMaximumLikelihood(kCovariance, loadings, kFactors, f);
        benchmark::DoNotOptimize(loadings);
    }
}

void Varimax(benchmark::State& state)
{
    RandomSource source;
    for (auto _ : state) {
        MatrixScope iteration;
        double criterion = 0.0;
        benchmark::DoNotOptimize(VarimaxRotation(kLoadings, 0.0001, criterion, 10, 1, source));
    }
}

// Thirty small matrices made and released in one scope, about what one
// extraction does (recycled unless the build is a sanitizer build).
void PoolScope(benchmark::State& state)
{
    for (auto _ : state) {
        MatrixScope iteration;
        for (int k = 0; k < 10; ++k) {
            benchmark::DoNotOptimize(NewMatrix(kItems, kItems));
            benchmark::DoNotOptimize(NewMatrix(kItems, kFactors));
            benchmark::DoNotOptimize(NewMatrix(kFactors, kFactors));
        }
    }
}

} // namespace

BENCHMARK(Resample);
BENCHMARK(Covariance);
BENCHMARK(Correlation);
BENCHMARK(ProductOfData);
BENCHMARK(ProductOfSmall);
BENCHMARK(Eigen);
BENCHMARK(Uls);
BENCHMARK(MaximumLikelihood);
BENCHMARK(Varimax);
BENCHMARK(PoolScope);
