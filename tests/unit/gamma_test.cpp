#include "stats/gamma.hpp"

#include <cmath>
#include <limits>
#include <string>

#include "test_support.hpp"

namespace {

// Q(a, x) for whole and half-whole a from closed forms:
//   Q(n, x)       = exp(-x) sum_{k<n} x^k / k!
//   Q(n + 1/2, x) = erfc(sqrt x) + exp(-x) sum_{k<n} x^(k+1/2) / Gamma(k + 3/2)
double referenceQ(double a, double x) {
  const int n = static_cast<int>(std::floor(a));
  double sum = 0.0;
  if (a == n) {
    for (int k = 0; k < n; ++k) sum += std::pow(x, k) / std::tgamma(k + 1.0);
    return std::exp(-x) * sum;
  }
  for (int k = 0; k < n; ++k) sum += std::pow(x, k + 0.5) / std::tgamma(k + 1.5);
  return std::erfc(std::sqrt(x)) + std::exp(-x) * sum;
}

class Gamma : public TempDirTest {};

}  // namespace

TEST_F(Gamma, MatchesClosedFormsOnBothBranches) {
  // Chi-square p-values use a = df / 2, so whole and half-whole a cover every use.
  const double as[] = {0.5, 1.0, 1.5, 2.0, 2.5, 3.0, 4.5, 5.0, 7.5, 10.0};
  const double xs[] = {1e-6, 0.01, 0.3, 1.0, 1.49, 1.5, 1.92, 2.5, 4.0, 7.5, 12.0, 25.0, 60.0};
  for (double a : as)
    for (double x : xs) EXPECT_NEAR(gammq(a, x), referenceQ(a, x), 1e-12) << a << " " << x;

  for (double x : {0.2, 1.2, 1.9, 2.1, 3.0, 30.0}) {
    EXPECT_NEAR(gammq(0.5, x), std::erfc(std::sqrt(x)), 1e-12) << x;
    EXPECT_NEAR(gammq(1.0, x), std::exp(-x), 1e-15) << x;
  }
  EXPECT_NEAR(gammq(0.5, 1.92), 0.05, 5e-4);  // chi-square 3.84, one degree of freedom
  EXPECT_EQ(gammq(0.5, 0.0), 1.0);
}

TEST_F(Gamma, SeriesBelowAPlusOneContinuedFractionFromIt) {
  const double a = 1.0;
  double part = 0.0;
  double gln = 0.0;
  gcf(part, a, 2.0, gln);
  EXPECT_EQ(gammq(a, 2.0), part);
  const double below = std::nextafter(2.0, 0.0);
  gser(part, a, below, gln);
  EXPECT_EQ(gammq(a, below), 1.0 - part);
}

TEST_F(Gamma, InvalidArgumentsEndWithStatus11) {
  testing::internal::CaptureStdout();
  EXPECT_FATAL_STATUS(gammq(0.0, 1.0), 11);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "x: 1 a: 0\n");
  EXPECT_EQ(readFile("TLib_ERROR.log"), "Invalid arguments in gammq 11\n");

  testing::internal::CaptureStdout();
  EXPECT_FATAL_STATUS(gammq(0.5, -0.25), 11);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "x: -0.25 a: 0.5\n");
  // A value without a number is refused instead of running to the iteration limit.
  testing::internal::CaptureStdout();
  EXPECT_FATAL_STATUS(gammq(0.5, std::numeric_limits<double>::quiet_NaN()), 11);
  testing::internal::GetCapturedStdout();
}

TEST_F(Gamma, SeriesFailures) {
  testing::internal::CaptureStdout();
  double gamser = 0.0;
  double gln = 0.0;
  EXPECT_FATAL_STATUS(gser(gamser, 1.0, -1.0, gln), 8);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
  EXPECT_EQ(readFile("TLib_ERROR.log"), "x less than 0 in gser 8\n");

  testing::internal::CaptureStdout();
  EXPECT_FATAL_STATUS(gammq(1e8, 1e8), 9);
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "a too large, ITMAX too small in routine gser x = 1e+08\n");
  EXPECT_EQ(readFile("TLib_ERROR.log"), "a too large, ITMAX too small in routine gser 9\n");
}

TEST_F(Gamma, ContinuedFractionFailureStatusIsXBroughtIntoRange) {
  testing::internal::CaptureStdout();
  EXPECT_FATAL_STATUS(gammq(1e9, 1e9 + 1.0), 255);
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "a too large, ITMAX too small in routine gcf x = 1e+09\n");
  EXPECT_EQ(readFile("TLib_ERROR.log"), "a too large, ITMAX too small in routine gcf 255\n");

  testing::internal::CaptureStdout();
  double gammcf = 0.0;
  double gln = 0.0;
  EXPECT_FATAL_STATUS(gcf(gammcf, 1.0, std::numeric_limits<double>::quiet_NaN(), gln), 1);
  testing::internal::GetCapturedStdout();
  EXPECT_EQ(readFile("TLib_ERROR.log"), "a too large, ITMAX too small in routine gcf 1\n");
}
