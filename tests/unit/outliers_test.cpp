#include "stats/outliers.hpp"

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>

#include "test_support.hpp"

namespace {

std::vector<double> fstsOf(const std::vector<Outlier>& records) {
  std::vector<double> fsts;
  for (const Outlier& o : records) fsts.push_back(o.FST);
  return fsts;
}

// Outliers of a list of FST values; site i is named "s<i>" at position 100 i.
std::vector<Outlier> fenceOutliers(const std::vector<double>& fsts, double k) {
  std::vector<std::pair<double, double>> perSnp;
  std::vector<double> positions;
  std::vector<std::string> names;
  for (std::size_t i = 0; i < fsts.size(); ++i) {
    perSnp.push_back({fsts[i], 0.001 * static_cast<double>(i)});
    positions.push_back(100.0 * static_cast<double>(i));
    names.push_back("s" + std::to_string(i));
  }
  std::vector<Outlier> out(3);  // earlier content is dropped
  selectFstOutliers(perSnp, positions, names, k, out);
  return out;
}

std::vector<Outlier> records(const std::vector<double>& fsts) {
  std::vector<Outlier> data;
  for (std::size_t i = 0; i < fsts.size(); ++i) {
    Outlier o;
    o.ID = "r" + std::to_string(i);
    o.Pos = static_cast<double>(i);
    o.FST = fsts[i];
    data.push_back(o);
  }
  return data;
}

class Outliers : public TempDirTest {};

}  // namespace

TEST_F(Outliers, UpperFence) {
  std::vector<double> fsts;
  for (int i = 1; i <= 12; ++i) fsts.push_back(0.01 * i);
  std::mt19937_64 rng(7);
  std::shuffle(fsts.begin(), fsts.end(), rng);
  // Q1 = 0.04, Q3 = 0.10, fence 0.28.
  EXPECT_TRUE(fenceOutliers(fsts, 3.0).empty());
  fsts.insert(fsts.begin() + 5, 0.5);
  const std::vector<Outlier> one = fenceOutliers(fsts, 3.0);
  ASSERT_EQ(one.size(), 1u);
  EXPECT_EQ(one[0].FST, 0.5);
  EXPECT_EQ(one[0].ID, "s5");
  EXPECT_EQ(one[0].Pos, 500.0);
  EXPECT_EQ(one[0].pval, 0.005);
  EXPECT_EQ(one[0].weight, 1.0);

  // Sorted input stays in place: Q1 = 0.25 (rank 4), Q3 = 0.5 (rank 12), fence
  // exactly 1.0 with k = 2, which is not passed by a value equal to it.
  const std::vector<Outlier> sorted = fenceOutliers(
      {0.0, 0.05, 0.1, 0.2, 0.25, 0.3, 0.3, 0.35, 0.4, 0.4, 0.45, 0.45, 0.5, 1.0, 1.5, 2.0}, 2.0);
  ASSERT_EQ(fstsOf(sorted), (std::vector<double>{1.5, 2.0}));
  EXPECT_EQ(sorted[0].ID, "s14");
  EXPECT_EQ(sorted[1].ID, "s15");

  // Q1 = 0.1 and Q3 = 0.4 put the fence at 1.3: not even FST 1 passes it.
  EXPECT_TRUE(fenceOutliers({0.05, 0.1, 0.1, 0.2, 0.3, 0.4, 0.4, 0.4, 1.0, 1.0, 1.0}, 3.0).empty());

  EXPECT_TRUE(fenceOutliers({}, 3.0).empty());
  EXPECT_TRUE(fenceOutliers({0.7}, 3.0).empty());
  const double nan = std::numeric_limits<double>::quiet_NaN();
  EXPECT_EQ(fstsOf(fenceOutliers({0.01, nan, 0.02, 0.02, 0.03, 0.02, 0.01, 0.9}, 3.0)),
            (std::vector<double>{0.9}));
}

TEST_F(Outliers, FenceMatchesSortedQuartilesOnRandomData) {
  std::mt19937_64 rng(99);
  for (int trial = 0; trial < 200; ++trial) {
    const std::size_t n = 1 + rng() % 60;
    std::vector<double> fsts(n);
    for (double& f : fsts) f = static_cast<double>(rng() % 40) / 40.0 * (rng() % 5 == 0 ? 3 : 1);
    std::vector<double> sorted = fsts;
    std::sort(sorted.begin(), sorted.end());
    const double Q1 = sorted[n / 4];
    const double Q3 = sorted[n / 2 + n / 4];
    const double fence = Q3 + 1.5 * (Q3 - Q1);
    std::vector<double> expected;
    for (double f : sorted)
      if (f > fence) expected.push_back(f);
    std::vector<double> got = fstsOf(fenceOutliers(fsts, 1.5));
    std::sort(got.begin(), got.end());
    EXPECT_EQ(got, expected) << "trial " << trial;
  }
}

TEST_F(Outliers, KmeansNeedsTwoClusters) {
  std::vector<Outlier> data = records({0.5, 0.6});
  EXPECT_FATAL_STATUS(kmeans(data, {}, 0.1, true), 1);
  EXPECT_EQ(readFile("kmeans.log"), "K equal or less than 1 in kmeans\n");
  EXPECT_FATAL_STATUS(kmeans(data, {0.9}, 0.1, true), 1);
  EXPECT_EQ(readFile("kmeans.log"), "K equal or less than 1 in kmeans 1\n");
}

TEST_F(Outliers, KmeansSmallInputs) {
  std::vector<Outlier> data;
  kmeans(data, {0.0, 0.8}, 0.3, true);
  EXPECT_TRUE(data.empty());

  data = records({0.29});
  kmeans(data, {0.0, 0.8}, 0.3, true);
  EXPECT_TRUE(data.empty());
  data = records({0.3});
  kmeans(data, {0.0, 0.8}, 0.3, true);
  EXPECT_EQ(fstsOf(data), (std::vector<double>{0.3}));
  data = records({0.29});
  kmeans(data, {0.0, 0.8}, 0.3, false);
  EXPECT_EQ(fstsOf(data), (std::vector<double>{0.29}));

  // Two records: one centroid each; the top cluster holds the larger.
  data = records({0.3, 0.9});
  kmeans(data, {0.0, 0.8}, 0.5, true);
  ASSERT_EQ(fstsOf(data), (std::vector<double>{0.9}));
  EXPECT_EQ(data[0].ID, "r1");
  data = records({0.3, 0.9});
  kmeans(data, {0.0, 0.8}, 0.95, true);
  EXPECT_TRUE(data.empty());
}

TEST_F(Outliers, KmeansClusters) {
  // A record halfway between two centroids joins the lower cluster.
  std::vector<Outlier> data = records({0.25, 0.5, 0.75});
  kmeans(data, {0.0, 1.0}, 0.0, true);
  EXPECT_EQ(fstsOf(data), (std::vector<double>{0.75}));

  // Centroids start at the first and last records (0.05 and 0.1); the top
  // cluster converges to {0.95, 0.9}, is sorted, and is cut at the threshold.
  const std::vector<double> input = {0.05, 0.95, 0.9, 0.1};
  for (const auto& [threshold, kept] : std::vector<std::pair<double, std::vector<double>>>{
           {0.0, {0.9, 0.95}}, {0.92, {0.95}}, {0.95, {0.95}}, {0.96, {}}}) {
    data = records(input);
    kmeans(data, {0.0, 0.9}, threshold, true);
    EXPECT_EQ(fstsOf(data), kept) << threshold;
  }
  data = records(input);
  kmeans(data, {0.0, 0.9}, 0.5, false);
  EXPECT_EQ(fstsOf(data), (std::vector<double>{0.05, 0.1, 0.9, 0.95}));

  // Three clusters.
  data = records({0.1, 0.12, 0.5, 0.52, 0.9, 0.95, 0.97});
  kmeans(data, {0.0, 0.5, 1.0}, 0.93, true);
  EXPECT_EQ(fstsOf(data), (std::vector<double>{0.95, 0.97}));
}

TEST_F(Outliers, KmeansRecordBeyondTheLargestDistanceJoinsTheNearestCluster) {
  // maxDist = 0.1 + 1 = 1.1; 5.0 lies farther than that from both centroids.
  std::vector<Outlier> data = records({0.0, 5.0, 2.6});
  kmeans(data, {0.0, 0.1}, 0.0, true);
  EXPECT_EQ(fstsOf(data), (std::vector<double>{2.6, 5.0}));
}
