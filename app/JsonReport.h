#pragma once
// The machine-readable companion of the report: every table of the run at
// full double precision, with item and factor numbers, the options and the
// sample sizes.

#include <cstdio>

struct RunResults;
struct Workspace;

void WriteJsonReport(std::FILE* out, const Workspace& workspace, const RunResults& results);
