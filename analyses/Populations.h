#pragma once
// The populations under invariance from which the congruence bootstrap
// draws: each sample's data transformed so that its dispersion matrix becomes
// the one implied by the Target factor solution.

#include "analyses/ObservedSolution.h"
#include "matrix/Matrix.h"

namespace talver {

// s^(1/2) = U diag(sqrt(sv)) V' from the singular value decomposition
// s = U diag(sv) V'.
Matrix* SquareRootBySvd(const Matrix* s);

struct Populations {
    Matrix* target = nullptr;      // N_T x p
    Matrix* replication = nullptr; // N_R x p
};

// Z = Y S^(-1/2) Sigma^(1/2) for each sample, Y as it is (not centred), with
// Sigma built from the unrotated Target loadings L_T:
// - covariances (code 1): Sigma = L_T L_T' + diag(psi) with the sample's own
//   residual variances psi;
// - correlations: Sigma = D (L_T L_T' + diag(psi_T)) D, D the diagonal matrix
//   of the roots of the sample's own variances.
// Created in the caller's scope. A singular S gives non-finite values.
Populations InvariancePopulations(const Matrix* targetData, const Matrix* replicationData,
                                  const Matrix* targetDispersion, const Matrix* replicationDispersion,
                                  const ObservedSolution& solution, DispersionKind kind);

} // namespace talver
