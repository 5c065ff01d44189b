// Regularized incomplete gamma function: every p-value of the program is the
// upper tail of a chi-square distribution, Q(df / 2, X / 2).
#pragma once

// Q(a, x), the regularized upper incomplete gamma function.
double gammq(const double& a, const double& x);

// gamser = P(a, x) by its series; gln = ln Gamma(a).
void gser(double& gamser, const double& a, const double& x, double& gln);

// gammcf = Q(a, x) by its continued fraction; gln = ln Gamma(a).
void gcf(double& gammcf, const double& a, const double& x, double& gln);
