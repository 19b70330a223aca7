#pragma once
// The populations under invariance from which the congruence bootstrap
// draws: each sample's data transformed so that its dispersion matrix becomes
// the one implied by the Target factor solution.

#include "analyses/AnalysisCodes.h"
#include "analyses/ObservedSolution.h"
#include "matrix/Matrix.h"

namespace talver {

struct Populations {
    Matrix* target = nullptr;      // N_T x p
    Matrix* replication = nullptr; // N_R x p
};

// The two populations under invariance, each sample's data Y (as it is, not
// centred) transformed to a model dispersion matrix Sigma built from the
// Target solution:
// - covariances (S = C, the sample's covariance matrix, divisor N):
//   Z = Y C^(-1/2) Sigma^(1/2) with Sigma = K + diag(psi), psi the sample's
//   own residual variances;
// - correlations: Sigma = K + diag(psi_T), a correlation matrix, for both
//   samples, put on the scale of each sample's own variances:
//   Z = Y C^(-1/2) (D Sigma D)^(1/2), D = diag(sqrt(diag C)), so that the
//   correlation matrix of Z is Sigma.
// The common part K is L_T L_T' for factor methods and S_T - diag(psi_T)
// for principal components (whose loadings are too clean a model of the
// data). Created in the caller's scope. A singular matrix gives non-finite
// values.
Populations InvariancePopulations(const Matrix* targetData, const Matrix* replicationData,
                                  const Matrix* targetDispersion, const Matrix* replicationDispersion,
                                  const ObservedSolution& solution, DispersionKind kind, ExtractionMethod method);

} // namespace talver
