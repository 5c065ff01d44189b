// The arithmetic of the EOS bound, the outlier positions, the windows and the
// JHac classes.
#include <gtest/gtest.h>

#include <cmath>

#include "analysis/candidates.hpp"
#include "analysis/eos.hpp"
#include "analysis/jhac.hpp"
#include "analysis/run_state.hpp"

namespace {

Outlier at(double pos, double pval) {
  Outlier o;
  o.Pos = pos;
  o.pval = pval;
  return o;
}

}  // namespace

TEST(EosBound, FormatFamilies) {
  Execution exec;
  RunData run;
  exec.maf = 0.01;
  exec.options.sample = 50;
  EXPECT_NEAR(eosBound(exec, run), 0.96039208, 1e-8);
  exec.options.sample2 = 50;
  run.samplesizes = {50, 50};
  EXPECT_NEAR(eosBound(exec, run), 0.96039208, 1e-8);
  exec.format = InputFormat::GP;
  EXPECT_NEAR(eosBound(exec, run), 0.96116886, 1e-8);
  exec.format = InputFormat::FASTA;
  exec.maf = 0.05;
  run.samplesizes = {20, 30};
  EXPECT_NEAR(eosBound(exec, run), 0.81960784, 1e-8);
}

TEST(OutlierPositions, NeighboursKeepTheBetterPValue) {
  EXPECT_EQ(outlierPositions({at(100.0, 0.01), at(100.5, 0.001)}, {}),
            (std::vector<double>{100.5}));
  EXPECT_EQ(outlierPositions({at(100.0, 0.001), at(100.5, 0.01)}, {}),
            (std::vector<double>{100.0}));
  EXPECT_EQ(outlierPositions({at(100.0, 0.01), at(101.0, 0.5)}, {}),
            (std::vector<double>{100.0, 101.0}));
  // The Non-EOS pass continues the first and prefers the larger p-value.
  EXPECT_EQ(outlierPositions({at(10.0, 0.01)}, {at(10.5, 0.02), at(20.0, 0.3), at(20.2, 0.1)}),
            (std::vector<double>{10.5, 20.0}));
  // Under the high-mean rule, sites exactly 1.0 apart keep only the first.
  EXPECT_EQ(highMeanPositions({at(100.0, 0), at(101.0, 0), at(102.5, 0)}),
            (std::vector<double>{100.0, 102.5}));
}

// Under the high-mean rule the tenth of the sites with the highest FST is
// selected; sites of equal FST are taken by ascending position, so the same
// sites are chosen whatever order the selection leaves them in.
TEST(EosTest, HighMeanRuleTakesEqualFstByPosition) {
  Execution exec;
  exec.format = InputFormat::BS;
  RunData run;
  const int n = 50;  // 4 sites selected
  for (int i = 0; i < n; ++i) {
    // Every site has FST 0.9 except site 7, whose FST is the highest.
    run.fstdistrib.push_back({i == 7 ? 0.95 : 0.9, 0.0});
    run.metapopsnpositions.push_back(10.0 * (n - i));  // positions descend with the index
    run.filelocnames.push_back(std::to_string(i));
  }
  run.meanFst = 0.9;
  runEosTest(exec, run);
  EXPECT_TRUE(run.highFst);
  EXPECT_EQ(run.outlierpositions, (std::vector<double>{430.0, 10.0, 20.0, 30.0}));
  EXPECT_TRUE(run.eosOutliers.empty());
  EXPECT_TRUE(run.nonEosOutliers.empty());
}

TEST(Windows, ClassesOfEstimatedAndFixedWindows) {
  int K = 0, m = 0;
  windowClasses(10, K, m, 1);
  EXPECT_EQ(K, 10);
  EXPECT_EQ(m, 11);
  windowClasses(35, K, m, 1);
  EXPECT_EQ(K, 17);
  EXPECT_EQ(m, 35);
  windowClasses(1000, K, m, 1);
  EXPECT_EQ(K, 500);
  EXPECT_EQ(m, 1001);
  fixedWindowClasses(40, 100, K, m);
  EXPECT_EQ(K, 20);
  EXPECT_EQ(m, 41);
  fixedWindowClasses(50, 30, K, m);
  EXPECT_EQ(K, 15);
  EXPECT_EQ(m, 30);
  fixedWindowClasses(20, 20, K, m);
  EXPECT_EQ(K, 20);
  EXPECT_EQ(m, 20);
}

TEST(Windows, UserValuesTakeTheNearestSiteWithinThePositions) {
  const std::vector<double> sites = {0.4875, 0.5125, 0.9};
  // 0.5 is halfway between the first two as decimals, though not as doubles
  // (0.5 - 0.4875 reads 0.0125000000000000111, 0.5125 - 0.5 reads
  // 0.0124999999999999556): the tie takes the lower site.
  EXPECT_EQ(nearestSite(sites, 0.5), 0);
  EXPECT_EQ(nearestSite(sites, 0.50001), 1);
  // The first and last positions bound the values that take a site.
  EXPECT_EQ(nearestSite(sites, 0.4875), 0);
  EXPECT_EQ(nearestSite(sites, 0.9), 2);
  EXPECT_EQ(nearestSite(sites, 0.48749), -1);
  EXPECT_EQ(nearestSite(sites, 0.9000001), -1);
  EXPECT_EQ(nearestSite({}, 0.5), -1);
}

TEST(JhacClasses, WidthsAndTheLastClass) {
  // m = 11, K = 10, w = 1: classes 0..8 hold 0..8, class 9 holds 9 and 10.
  std::vector<double> values;
  for (int x = 0; x <= 10; ++x) values.push_back(x);
  EXPECT_EQ(classCounts(values, 10, 11), (std::vector<double>{1, 1, 1, 1, 1, 1, 1, 1, 1, 2}));
  // m = 41, K = 20, w = 2: the last class holds 38, 39 and 40.
  const std::vector<double> c41 = classCounts({0, 1, 2, 37, 38, 39, 40}, 20, 41);
  EXPECT_EQ(c41[0], 2);
  EXPECT_EQ(c41[1], 1);
  EXPECT_EQ(c41[18], 1);
  EXPECT_EQ(c41[19], 3);
  // m = 20, K = 20 (a fixed window as wide as the sample): (m - 1) / K is 0,
  // so the width is 1 and every value keeps its class.
  std::vector<double> c20(20, 0.0);
  c20[0] = c20[5] = c20[18] = 1;
  c20[19] = 2;
  EXPECT_EQ(classCounts({0, 5, 18, 19, 19}, 20, 20), c20);
}

TEST(JhacClasses, ValuesPastTheRangeJoinTheLastClass) {
  // m = 26, K = 25, w = 1 (a 40-site window capped at 25): values 26 to 39
  // lie above m - 1 and join class 24 with 24 and 25.
  std::vector<double> capped(25, 0.0);
  capped[0] = capped[3] = 1;
  capped[24] = 4;
  EXPECT_EQ(classCounts({0, 3, 24, 25, 26, 39}, 25, 26), capped);
  // m = 11, K = 4, w = 2: classes [0,1], [2,3], [4,5], [6,7]; 8 and 9 lie in
  // the gap below m - 1 = 10, and join class 3 with 7, 10 and 12.
  EXPECT_EQ(classCounts({1, 2, 7, 8, 9, 10, 12}, 4, 11), (std::vector<double>{1, 1, 0, 5}));
  // m = 40, K = 20 (a fixed window of 40 over 40 sites): w = 1, values 19 to 39
  // all in class 19.
  std::vector<double> c40(20, 0.0);
  c40[0] = 1;
  c40[19] = 4;
  EXPECT_EQ(classCounts({0, 19, 20, 38, 39}, 20, 40), c40);
}

TEST(JhacClasses, EveryValueIsCountedOnce) {
  for (int K = 2; K <= 30; ++K)
    for (int m = 1; m <= 70; ++m) {
      std::vector<double> values;
      for (int x = 0; x <= 80; ++x) values.push_back(x);
      const std::vector<double> counts = classCounts(values, K, m);
      double total = 0;
      for (double c : counts) total += c;
      ASSERT_EQ(total, static_cast<double>(values.size())) << "K " << K << " m " << m;
    }
}

TEST(JhacClasses, StatisticOfTwoDistributions) {
  const double f1[2] = {10.5 / 11, 0.5 / 11};
  const double f2[2] = {0.5 / 21, 20.5 / 21};
  double S = 0;
  for (int c = 0; c < 2; ++c) S += (f1[c] - f2[c]) * std::log(f1[c] / f2[c]);
  EXPECT_NEAR(jhacStatistic({10, 0}, {0, 20}, 10, 20), 200.0 / 30.0 * S, 1e-12);
  EXPECT_EQ(jhacStatistic({3, 7}, {3, 7}, 10, 10), 0.0);
}
