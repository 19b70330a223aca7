#include "analyses/Populations.h"

#include "factor/SymmetricPower.h"
#include "matrix/MatrixInPlace.h"
#include "matrix/MatrixOps.h"

namespace talver {

namespace {

// The dispersion structure both samples share under invariance, the part of
// Sigma without the unique variances of the sample. Factor models share the
// Target's common part L_T L_T'. Components carry far less of the data's
// structure than factors do (their loadings absorb part of the unique
// variance), so a population built from them is cleaner than the data and
// the critical values come out far too tight; PCA takes the Target's
// observed matrix as the common structure instead, less its own residual
// variances (added back per sample).
Matrix* CommonStructure(const Matrix* targetDispersion, const ObservedSolution& solution, ExtractionMethod method)
{
    Matrix* result = NewMatrix(targetDispersion->Rows(), targetDispersion->Cols());
    MatrixScope scope;
    if (method == ExtractionMethod::Pca) {
        CopyValues(Minus(targetDispersion, Diag(solution.targetResiduals)), result);
    } else {
        CopyValues(Product(solution.targetLoadings, Transposed(solution.targetLoadings)), result);
    }
    return result;
}

// Y C^(-1/2) Sigma^(1/2): data whose covariance matrix (divisor N) is C
// transformed to covariance matrix Sigma, with symmetric roots exact to
// rounding (the structure of the population is the point of it). Y as it is (not centred): the
// covariances of an affine transformation do not depend on the means.
Matrix* Transformed(const Matrix* data, const Matrix* c, const Matrix* sigma)
{
    Matrix* result = NewMatrix(data->Rows(), data->Cols());
    MatrixScope scope;
    CopyValues(Product(Product(data, SymmetricPower(c, -0.5)), SymmetricPower(sigma, 0.5)), result);
    return result;
}

// A population from data analysed by correlations: the model correlation
// matrix Sigma put on the scale of the data's own variances, D Sigma D with D
// the roots of the diagonal of C, so that the correlations of the result are
// Sigma exactly. Transforming the raw data with correlation matrices as if
// they were its covariances gives it neither the model's correlations nor
// equal structures in the two samples.
Matrix* CorrelationPopulation(const Matrix* data, const Matrix* sigma)
{
    Matrix* result = NewMatrix(data->Rows(), data->Cols());
    MatrixScope scope;
    const Matrix* c = CovarianceMatrix(data);
    const Matrix* scale = Diag(Sqrt(Diag(c)));
    CopyValues(Transformed(data, c, Product(Product(scale, sigma), scale)), result);
    return result;
}

} // namespace

Populations InvariancePopulations(const Matrix* targetData, const Matrix* replicationData,
                                  const Matrix* targetDispersion, const Matrix* replicationDispersion,
                                  const ObservedSolution& solution, DispersionKind kind, ExtractionMethod method)
{
    Populations populations{NewMatrix(targetData->Rows(), targetData->Cols()),
                            NewMatrix(replicationData->Rows(), replicationData->Cols())};
    MatrixScope scope;
    const Matrix* common = CommonStructure(targetDispersion, solution, method);
    if (kind == DispersionKind::Covariance) {
        // Each sample keeps its own unique variances.
        CopyValues(Transformed(targetData, targetDispersion, Plus(common, Diag(solution.targetResiduals))),
                   populations.target);
        CopyValues(Transformed(replicationData, replicationDispersion,
                               Plus(common, Diag(solution.replicationResiduals))),
                   populations.replication);
    } else {
        // One model correlation matrix for both samples.
        const Matrix* sigma = Plus(common, Diag(solution.targetResiduals));
        CopyValues(CorrelationPopulation(targetData, sigma), populations.target);
        CopyValues(CorrelationPopulation(replicationData, sigma), populations.replication);
    }
    return populations;
}

} // namespace talver
