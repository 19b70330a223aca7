#include "PolychoricReference.h"

#include <cmath>

#include "matrix/MatrixOps.h"
#include "stats/BivariateNormal.h"
#include "stats/ContingencyTable.h"
#include "stats/Tetrachoric.h"

using namespace talver;

namespace {

using CornerFunction = double (*)(double, double, double);

void FillModelTable(CornerFunction f, const std::vector<double>& a, const std::vector<double>& b, double rho,
                    Matrix* cells)
{
    const int rows = static_cast<int>(b.size()) - 1;
    const int cols = static_cast<int>(a.size()) - 1;
    for (int c = 0; c < cols; ++c) {
        for (int s = 0; s < rows; ++s) {
            double value;
            if (a[c] != kLowerSentinel && b[s] != kLowerSentinel) {
                value = f(a[c + 1], b[s + 1], rho) - f(a[c + 1], b[s], rho) - f(a[c], b[s + 1], rho)
                    + f(a[c], b[s], rho);
            } else if (a[c] != kLowerSentinel) {
                value = f(a[c + 1], b[s + 1], rho) - 0.0 - f(a[c], b[s + 1], rho) + f(a[c], b[s], rho);
            } else if (b[s] != kLowerSentinel) {
                value = f(a[c + 1], b[s + 1], rho) - f(a[c + 1], b[s], rho) - 0.0 + f(a[c], b[s], rho);
            } else {
                value = f(a[c + 1], b[s + 1], rho) - 0.0 - 0.0 + 0.0;
            }
            (*cells)(rows - 1 - s, c) = value;
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

double ReferencePairCorrelation(const Matrix* table, const std::vector<double>& a, const std::vector<double>& b,
                                double tolerance)
{
    if (tolerance >= 1.0) {
        return 0.0;
    }
    MatrixScope scope;
    const Matrix* proportions = DividedBy(table, (*RowSums(ColumnSums(table)))(0, 0));
    double rho = 0.0;
    double lower = -1.0;
    double upper = 1.0;
    for (;;) {
        if (std::fabs(rho) == 1.0) {
            return rho;
        }
        MatrixScope stepScope;
        Matrix* pi = NewMatrix(table->Rows(), table->Cols());
        Matrix* d = NewMatrix(table->Rows(), table->Cols());
        ReferenceModelTables(a, b, rho, pi, d);
        const double g = (*RowSums(ColumnSums(ElementQuotient(ElementProduct(proportions, d), pi))))(0, 0);
        bool withinModel = true;
        for (int r = 0; r < pi->Rows(); ++r) {
            for (int c = 0; c < pi->Cols(); ++c) {
                if ((*proportions)(r, c) > 0.0 && !((*pi)(r, c) > 0.0)) {
                    withinModel = false;
                }
            }
        }
        double step;
        if (withinModel ? g > 0.0 : rho < 0.0) {
            lower = rho;
            step = std::fabs(upper - rho) / 2.0;
        } else {
            upper = rho;
            step = -std::fabs(lower - rho) / 2.0;
        }
        if ((withinModel && (std::fabs(g) <= tolerance || std::isnan(g))) || rho + step == rho) {
            return rho;
        }
        rho = rho + step;
    }
}

Matrix* ReferencePolychoricMatrix(const Matrix* data)
{
    const int p = data->Cols();
    Matrix* result = Identity(p);
    for (int i = 0; i < p; ++i) {
        for (int j = i + 1; j < p; ++j) {
            MatrixScope scope;
            const Matrix* t = PairTable(data, i, j);
            const std::vector<double> a = ColumnThresholds(t);
            const std::vector<double> b = RowThresholds(t);
            double r = kTetrachoricFailure;
            if (t->Rows() == 2 && t->Cols() == 2) {
                r = TetrachoricCorrelation(static_cast<int>((*t)(1, 0)), static_cast<int>((*t)(0, 0)),
                                           static_cast<int>((*t)(1, 1)), static_cast<int>((*t)(0, 1)));
            }
            if (r == kTetrachoricFailure) {
                r = ReferencePairCorrelation(t, a, b, 0.001);
            }
            (*result)(i, j) = r;
            (*result)(j, i) = r;
        }
    }
    return result;
}
