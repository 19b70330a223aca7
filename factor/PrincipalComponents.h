#pragma once
// Principal components of a dispersion matrix: one of the extraction methods
// and the starting point of ULS.

#include "matrix/Matrix.h"

namespace talver {

// The first m principal components of the symmetric p x p matrix s. Fills
// weights (column k: eigenvector k divided by the root of its eigenvalue) and
// loadings (eigenvector k times the root of its eigenvalue), each over the
// shape the caller gave it (p x m expected); explained receives the variance
// the m components account for, the sum of the m largest eigenvalues. Column
// signs are whatever the decomposition produced.
void ExtractPrincipalComponents(const Matrix* s, int m, Matrix* weights, Matrix* loadings,
                                double& explained);

} // namespace talver
