#pragma once
// Everything the congruence and discrepancy analysis reports, kept apart from
// the matrix pool so that any writer can format it.

#include "analyses/CongruenceIndices.h"

struct InvarianceResults {
    int alphaCode = 0;
    int extractionMethod = 0; // "Factor" tables for ULS, "Component" otherwise
    int dispersionKind = 0;   // as asked for; polychoric requests are analysed with Pearson correlations
    bool showCongruence = false;
    bool showDiscrepancy = false;
    InvarianceIndexSet observed;
    InvarianceIndexSet critical;
};
