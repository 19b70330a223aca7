#include "analyses/Populations.h"

#include "matrix/MatrixInPlace.h"
#include "factor/Inverse.h"
#include "factor/SingularValueDecomposition.h"
#include "matrix/MatrixOps.h"

namespace talver {

namespace {

// Sigma of one population: common + psi, scaled to the variances of s unless
// the analysis is of covariances.
Matrix* ModelDispersion(const Matrix* common, const Matrix* residuals, const Matrix* s, DispersionKind kind)
{
    Matrix* result = NewMatrix(s->Rows(), s->Cols());
    MatrixScope scope;
    const Matrix* model = Plus(common, Diag(residuals));
    if (kind != DispersionKind::Covariance) {
        const Matrix* scale = Diag(Sqrt(Diag(s)));
        model = Product(Product(scale, model), scale);
    }
    CopyValues(model, result);
    return result;
}

Matrix* Population(const Matrix* data, const Matrix* s, const Matrix* sigma)
{
    Matrix* result = NewMatrix(data->Rows(), data->Cols());
    MatrixScope scope;
    CopyValues(Product(Product(data, Inverse(SquareRootBySvd(s))), SquareRootBySvd(sigma)), result);
    return result;
}

} // namespace

Matrix* SquareRootBySvd(const Matrix* s)
{
    const int n = s->Cols();
    Matrix* result = NewMatrix(s->Rows(), n);
    MatrixScope scope;
    Matrix* u = NewMatrix(s->Rows(), n);
    Matrix* values = NewMatrix(n, 1);
    Matrix* v = NewMatrix(n, n);
    SingularValueDecomposition(s, u, values, v);
    CopyValues(Product(Product(u, Diag(Sqrt(values))), Transposed(v)), result);
    return result;
}

Populations InvariancePopulations(const Matrix* targetData, const Matrix* replicationData,
                                  const Matrix* targetDispersion, const Matrix* replicationDispersion,
                                  const ObservedSolution& solution, DispersionKind kind)
{
    Populations populations{NewMatrix(targetData->Rows(), targetData->Cols()),
                            NewMatrix(replicationData->Rows(), replicationData->Cols())};
    MatrixScope scope;
    const Matrix* common = Product(solution.targetLoadings, Transposed(solution.targetLoadings));
    // With correlations both populations share the Target's residual variances.
    const Matrix* replicationResiduals =
        kind == DispersionKind::Covariance ? solution.replicationResiduals : solution.targetResiduals;
    const Matrix* targetSigma = ModelDispersion(common, solution.targetResiduals, targetDispersion, kind);
    const Matrix* replicationSigma =
        ModelDispersion(common, replicationResiduals, replicationDispersion, kind);
    CopyValues(Population(targetData, targetDispersion, targetSigma), populations.target);
    CopyValues(Population(replicationData, replicationDispersion, replicationSigma), populations.replication);
    return populations;
}

} // namespace talver
