#include "PolychoricReference.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

#include "matrix/MatrixOps.h"
#include "stats/BivariateNormal.h"
#include "stats/ContingencyTable.h"

using namespace talver;

Matrix* PairTable(const Matrix* data, int i, int j)
{
    const auto range = [data](int item) {
        double lowest = (*data)(0, item);
        double highest = lowest;
        for (int n = 1; n < data->Rows(); ++n) {
            lowest = std::min(lowest, (*data)(n, item));
            highest = std::max(highest, (*data)(n, item));
        }
        return std::pair<int, int>(static_cast<int>(lowest), static_cast<int>(highest));
    };
    const auto [lowestI, highestI] = range(i);
    const auto [lowestJ, highestJ] = range(j);
    Matrix* table = NewMatrix(highestJ - lowestJ + 1, highestI - lowestI + 1);
    for (int n = 0; n < data->Rows(); ++n) {
        (*table)(highestJ - static_cast<int>((*data)(n, j)), static_cast<int>((*data)(n, i)) - lowestI) += 1.0;
    }
    return table;
}

std::vector<double> ColumnThresholds(const Matrix* table)
{
    std::vector<double> counts(table->Cols(), 0.0);
    for (int c = 0; c < table->Cols(); ++c) {
        for (int r = 0; r < table->Rows(); ++r) {
            counts[c] += (*table)(r, c);
        }
    }
    return ThresholdsOfCounts(counts);
}

std::vector<double> RowThresholds(const Matrix* table)
{
    const int rows = table->Rows();
    std::vector<double> counts(rows, 0.0);
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < table->Cols(); ++c) {
            counts[rows - 1 - r] += (*table)(r, c);
        }
    }
    return ThresholdsOfCounts(counts);
}

namespace {

using CornerFunction = double (*)(double, double, double);

// F at a corner on a lower infinite threshold is 0 (and the functions are
// not asked about it).
double AtCorner(CornerFunction f, double h, double k, double rho)
{
    return (h == -INFINITY || k == -INFINITY) ? 0.0 : f(h, k, rho);
}

void FillModelTable(CornerFunction f, const std::vector<double>& a, const std::vector<double>& b, double rho,
                    Matrix* cells)
{
    const int rows = static_cast<int>(b.size()) - 1;
    const int cols = static_cast<int>(a.size()) - 1;
    for (int c = 0; c < cols; ++c) {
        for (int s = 0; s < rows; ++s) {
            (*cells)(rows - 1 - s, c) = AtCorner(f, a[c + 1], b[s + 1], rho) - AtCorner(f, a[c + 1], b[s], rho)
                - AtCorner(f, a[c], b[s + 1], rho) + AtCorner(f, a[c], b[s], rho);
        }
    }
}

} // namespace

void ReferenceModelTables(const std::vector<double>& a, const std::vector<double>& b, double rho,
                          Matrix* probabilities, Matrix* derivatives)
{
    FillModelTable(BivariateNormalCdf, a, b, rho, probabilities);
    FillModelTable(BivariateNormalDensity, a, b, rho, derivatives);
}

double ReferenceLogLikelihood(const Matrix* table, const std::vector<double>& a, const std::vector<double>& b,
                              double rho)
{
    MatrixScope scope;
    Matrix* pi = NewMatrix(table->Rows(), table->Cols());
    Matrix* d = NewMatrix(table->Rows(), table->Cols());
    ReferenceModelTables(a, b, rho, pi, d);
    double sum = 0.0;
    for (int r = 0; r < table->Rows(); ++r) {
        for (int c = 0; c < table->Cols(); ++c) {
            if ((*table)(r, c) > 0.0) {
                if (!((*pi)(r, c) > 0.0)) {
                    return -std::numeric_limits<double>::infinity();
                }
                sum += (*table)(r, c) * std::log((*pi)(r, c));
            }
        }
    }
    return sum;
}

double ReferencePairCorrelation(const Matrix* table, const std::vector<double>& a, const std::vector<double>& b)
{
    // Golden-section search (Kiefer 1953) on a unimodal function.
    const double ratio = (std::sqrt(5.0) - 1.0) / 2.0;
    double lower = -0.9999;
    double upper = 0.9999;
    double x1 = upper - ratio * (upper - lower);
    double x2 = lower + ratio * (upper - lower);
    double f1 = ReferenceLogLikelihood(table, a, b, x1);
    double f2 = ReferenceLogLikelihood(table, a, b, x2);
    while (upper - lower > 1e-9) {
        if (f1 < f2) {
            lower = x1;
            x1 = x2;
            f1 = f2;
            x2 = lower + ratio * (upper - lower);
            f2 = ReferenceLogLikelihood(table, a, b, x2);
        } else {
            upper = x2;
            x2 = x1;
            f2 = f1;
            x1 = upper - ratio * (upper - lower);
            f1 = ReferenceLogLikelihood(table, a, b, x1);
        }
    }
    return (lower + upper) / 2.0;
}

Matrix* ReferencePolychoricMatrix(const Matrix* data)
{
    const int p = data->Cols();
    Matrix* result = Identity(p);
    for (int i = 0; i < p; ++i) {
        for (int j = i + 1; j < p; ++j) {
            MatrixScope scope;
            const Matrix* t = PairTable(data, i, j);
            const double r = ReferencePairCorrelation(t, ColumnThresholds(t), RowThresholds(t));
            (*result)(i, j) = r;
            (*result)(j, i) = r;
        }
    }
    return result;
}
