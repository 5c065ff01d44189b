#include "stats/gamma.hpp"

#include <cmath>
#include <iostream>
#include <string>

#include "input/log.hpp"

namespace {

const int ITMAX = 5000;
const double EPS = 2.220446049250313e-16;       // double machine epsilon
const double FPMIN = 1.0020841800044864e-292;   // smallest normal double / EPS
const char* const errorLog = "TLib_ERROR.log";

// ln Gamma(a) by the six-term Lanczos approximation.
double gammln(const double& a) {
  static const double cof[6] = {76.18009172947146,     -86.50532032941678,
                                24.01409824083091,     -1.231739572450155,
                                0.001208650973866179, -0.000005395239384953};
  double y = a;
  double tmp = a + 5.5;
  tmp -= (a + 0.5) * std::log(tmp);
  double ser = 1.000000000190015;
  for (double c : cof) ser += c / ++y;
  return -tmp + std::log(2.5066282746310005 * ser / a);
}

// The exit status of a continued fraction that did not converge is x cut to a
// whole number. Cutting a value without a number, or one past the range of a
// long long, is undefined, so those get the status of the nearest end.
long long truncatedStatus(double x) {
  if (std::isnan(x)) return 0;
  if (x >= 9.0e18) return 255;
  if (x <= -9.0e18) return 0;
  return static_cast<long long>(x);
}

}  // namespace

void gser(double& gamser, const double& a, const double& x, double& gln) {
  gln = gammln(a);
  if (x <= 0.0) {
    if (x < 0.0) libraryExit(8, "x less than 0 in gser", errorLog);
    gamser = 0.0;
    return;
  }
  double ap = a;
  double del = 1.0 / a;
  double sum = del;
  for (int n = 0; n < ITMAX; ++n) {
    ap += 1.0;
    del *= x / ap;
    sum += del;
    if (std::fabs(del) < std::fabs(sum) * EPS) {
      gamser = sum * std::exp(a * std::log(x) - x - gln);
      return;
    }
  }
  const std::string message = "a too large, ITMAX too small in routine gser";
  std::cout << message << " x = " << x << std::endl;
  libraryExit(9, message, errorLog);
}

void gcf(double& gammcf, const double& a, const double& x, double& gln) {
  gln = gammln(a);
  // Modified Lentz evaluation of the continued fraction.
  double b = x + 1.0 - a;
  double c = 1.0 / FPMIN;
  double d = 1.0 / b;
  double h = d;
  for (int i = 1; i <= ITMAX; ++i) {
    const double an = -i * (i - a);
    b += 2.0;
    d = an * d + b;
    if (std::fabs(d) < FPMIN) d = FPMIN;
    c = b + an / c;
    if (std::fabs(c) < FPMIN) c = FPMIN;
    d = 1.0 / d;
    const double del = d * c;
    h *= del;
    if (std::fabs(del - 1.0) <= EPS) {
      gammcf = h * std::exp(a * std::log(x) - x - gln);
      return;
    }
  }
  const std::string message = "a too large, ITMAX too small in routine gcf";
  std::cout << message << " x = " << x << std::endl;
  libraryExit(exitStatusFor(truncatedStatus(x)), message, errorLog);
}

double gammq(const double& a, const double& x) {
  // Arguments without a number are refused here: they would otherwise run the
  // continued fraction to its iteration limit and exit with a meaningless status.
  if (x < 0.0 || a <= 0.0 || std::isnan(x) || std::isnan(a)) {
    std::cout << "x: " << x << " a: " << a << std::endl;
    libraryExit(11, "Invalid arguments in gammq", errorLog);
  }
  double gln = 0.0;
  if (x < a + 1.0) {
    double gamser = 0.0;
    gser(gamser, a, x, gln);
    return 1.0 - gamser;
  }
  double gammcf = 0.0;
  gcf(gammcf, a, x, gln);
  return gammcf;
}
