#pragma once
// Student's t and Fisher's F distributions through the regularized
// incomplete beta function, for the p values that papers report.

namespace talver {

// I_x(a, b) for a, b > 0 and 0 <= x <= 1; NaN for arguments outside.
double RegularizedIncompleteBeta(double a, double b, double x);

// P(|T| >= |t|) for T with `df` degrees of freedom (df > 0): the two-sided p
// value of t. NaN when t is not a number or df is not positive.
double StudentTwoSidedP(double t, double df);

// P(F >= f) for F with `df1` and `df2` degrees of freedom: the p value of an
// F test. NaN when f is not a number or a df is not positive.
double FUpperTailP(double f, double df1, double df2);

} // namespace talver
