#include "analyses/FactorSolution.h"

#include "matrix/MatrixInPlace.h"
#include "factor/MlExtraction.h"
#include "factor/PrincipalComponents.h"
#include "factor/Procrustes.h"
#include "factor/UlsExtraction.h"
#include "matrix/MatrixOps.h"

#include <cmath>

namespace talver {

namespace {

// Residual variances within this share of the item's variance of zero sit at
// the bound.
constexpr double kResidualAtBound = 1e-10;

} // namespace

SolutionSettings SolutionSettingsOf(const AnalysisSettings& settings, DispersionKind analysed)
{
    return {settings.factorCount, settings.method, settings.tolerance, analysed, settings.itemLowest,
            settings.itemHighest};
}

bool ExtractLoadings(const Matrix* s, const SolutionSettings& settings, Matrix* loadings)
{
    MatrixScope scope;
    const int p = s->Rows();
    const int m = settings.factors;
    if (settings.method == ExtractionMethod::Uls) {
        // No fit statistic is reported for these loadings: a sample size of 0
        // spares its two determinants.
        double statistic = 0.0;
        ExtractUls(s, m, static_cast<float>(settings.tolerance), 0, loadings, statistic);
        return true;
    }
    if (settings.method == ExtractionMethod::Pca) {
        Matrix* weights = NewMatrix(p, m);
        double explained = 0.0;
        ExtractPrincipalComponents(s, m, weights, loadings, explained);
        return true;
    }
    Matrix* holder = NewMatrix(p, m);
    double discrepancy = 0.0;
    ExtractMaximumLikelihood(s, holder, m, discrepancy);
    if (holder == nullptr) {
        return false;
    }
    CopyValues(holder, loadings);
    return true;
}

Matrix* ResidualVariances(const Matrix* s, const Matrix* loadings)
{
    Matrix* result = NewMatrix(s->Rows(), 1);
    MatrixScope scope;
    CopyValues(Diag(Minus(s, Product(loadings, Transposed(loadings)))), result);
    // A residual held at the bound comes out as 0 or a rounding error either
    // side of it; stored as 0, it cannot let the sign of rounding decide
    // how replicates compare with the observed value.
    for (int i = 0; i < s->Rows(); ++i) {
        const double residual = (*result)(i, 0);
        if (std::fabs(residual) <= kResidualAtBound * std::fabs((*s)(i, i))) {
            (*result)(i, 0) = 0.0;
        }
    }
    return result;
}

bool ResidualAtOrBelowZero(double residual, double variance)
{
    return residual <= kResidualAtBound * std::fabs(variance);
}

std::vector<int> ImproperItems(const Matrix* residuals, const Matrix* s)
{
    std::vector<int> items;
    for (int i = 0; i < residuals->Rows(); ++i) {
        if (ResidualAtOrBelowZero((*residuals)(i, 0), (*s)(i, i))) {
            items.push_back(i + 1);
        }
    }
    return items;
}

Matrix* RotatedToward(const Matrix* loadings, const Matrix* target)
{
    Matrix* result = NewMatrix(loadings->Rows(), loadings->Cols());
    MatrixScope scope;
    CopyValues(Product(loadings, ProcrustesRotation(loadings, target)), result);
    return result;
}

} // namespace talver
