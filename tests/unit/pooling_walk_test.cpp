// The site filter and the pooled positions walk ascending position lists in
// one pass: what they keep must be what a search of every position keeps, and
// lists that do not ascend are refused rather than filtered wrongly.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>

#include "analysis/pooling.hpp"

namespace {

// Positions of the list kept by a search of every position in commons.
std::vector<double> keptBySearch(const std::vector<double>& positions,
                                 const std::vector<double>& commons) {
  std::vector<double> kept;
  for (double x : positions)
    if (std::find(commons.begin(), commons.end(), x) != commons.end()) kept.push_back(x);
  return kept;
}

// Random rows for two populations of 2 and 3 haplotypes over n sites.
HaplotypeMatrix randomRows(std::mt19937& rng, std::size_t n) {
  HaplotypeMatrix data(2 + 3);
  for (BitRow& row : data) {
    row = BitRow(n);
    for (std::size_t j = 0; j < n; ++j)
      if (rng() % 2) row.set(j);
  }
  return data;
}

// Filters population 1 of random rows over list and checks positions,
// frequencies and cells against a search; population 0 stays as it was.
void expectFilterMatchesSearch(std::mt19937& rng, const std::vector<double>& list,
                               const std::vector<double>& commons) {
  SCOPED_TRACE(testing::PrintToString(list) + " in " + testing::PrintToString(commons));
  const std::size_t n = list.size();
  HaplotypeMatrix data = randomRows(rng, n);
  const HaplotypeMatrix before = data;
  std::vector<double> positions = list, freqs(n);
  for (std::size_t j = 0; j < n; ++j) freqs[j] = static_cast<double>(j) / 10;
  deleteNonCommonSNPs(data, 1, {2, 3}, freqs, positions, commons);
  ASSERT_EQ(positions, keptBySearch(list, commons));
  ASSERT_EQ(freqs.size(), positions.size());
  std::size_t k = 0;
  for (std::size_t j = 0; j < n; ++j) {
    if (std::find(commons.begin(), commons.end(), list[j]) == commons.end()) continue;
    EXPECT_DOUBLE_EQ(freqs[k], static_cast<double>(j) / 10);
    for (std::size_t r = 2; r < 5; ++r) {
      ASSERT_EQ(data[r].size(), positions.size());
      EXPECT_EQ(data[r][k], before[r][j]);
    }
    ++k;
  }
  EXPECT_EQ(data[0], before[0]);
  EXPECT_EQ(data[1], before[1]);
}

// An ascending list of count values drawn from 0..range-1 (repeats possible).
std::vector<double> randomAscending(std::mt19937& rng, std::size_t count, unsigned range) {
  std::vector<double> values(count);
  for (double& v : values) v = static_cast<double>(rng() % range);
  std::sort(values.begin(), values.end());
  return values;
}

}  // namespace

TEST(SiteFilterWalk, KeepsWhatASearchKeeps) {
  std::mt19937 rng(4);
  const std::vector<double> commons = {2, 3, 5, 9, 13};
  for (const std::vector<double>& list : std::vector<std::vector<double>>{
           {1, 2, 3, 5, 8, 13},    // common sites among others
           {1, 2, 2, 3, 5, 5, 9},  // repeats: a repeated common site is kept twice
           {-4, -1, 0, 1},         // every position before the first common site
           {14, 15.5, 20},         // every position after the last common site
           {2.5, 3, 8.75, 9},      // fractions between common sites
           {2, 3, 5, 9, 13},       // every position common: nothing to remove
           {},
       })
    expectFilterMatchesSearch(rng, list, commons);
  // No common site at all, and lists of several row words.
  expectFilterMatchesSearch(rng, {1, 2, 3}, {});
  for (int trial = 0; trial < 40; ++trial) {
    std::vector<double> randomCommons = randomAscending(rng, rng() % 200, 400);
    randomCommons.erase(std::unique(randomCommons.begin(), randomCommons.end()),
                        randomCommons.end());
    expectFilterMatchesSearch(rng, randomAscending(rng, 1 + rng() % 300, 400), randomCommons);
  }
}

TEST(SiteFilterWalk, RefusesListsThatDoNotAscendOrHoldNoNumber) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  auto filter = [](std::vector<double> positions, const std::vector<double>& commons) {
    HaplotypeMatrix data(2, BitRow(positions.size()));
    std::vector<double> freqs(positions.size(), 0.5);
    deleteNonCommonSNPs(data, 1, {1, 1}, freqs, positions, commons);
  };
  EXPECT_DEATH(filter({13, 8, 5}, {5, 8}), "ascendingFinite");
  EXPECT_DEATH(filter({5, nan, 8}, {5, 8}), "ascendingFinite");
  EXPECT_DEATH(filter({5, 8, inf}, {5, 8}), "ascendingFinite");
  EXPECT_DEATH(filter({5, 8}, {8, 5}), "ascendingFinite");
  auto fuse = [](const std::vector<std::vector<double>>& lists) {
    HaplotypeMatrix data(2, BitRow(2)), metapopdata;
    std::vector<double> metapositions;
    int size = 0;
    dataFusion(data, metapopdata, lists, metapositions, size);
  };
  EXPECT_DEATH(fuse({{9, 1}, {1, 9}}), "ascendingFinite");
  EXPECT_DEATH(fuse({{1, 9}}), "snpositions.size\\(\\) == 2");
}

TEST(PooledPositions, TwoListsMergeIntoOneSortedListWithoutRepeats) {
  for (const auto& lists : std::vector<std::vector<std::vector<double>>>{
           {{1, 4, 9}, {1, 4, 9}},
           {{1, 4, 9}, {2, 4, 10}},
           {{20, 30}, {1, 2, 3}},   // the second list wholly before the first
           {{1, 2, 3}, {20, 30}},   // and wholly after
           {{1, 1, 4}, {4, 4, 6}},  // repeats within a list
           {{0.25, 7.5}, {}},       // one list empty
       }) {
    HaplotypeMatrix data(2, BitRow(3)), metapopdata;
    std::vector<double> metapositions;
    int size = 0;
    dataFusion(data, metapopdata, lists, metapositions, size);
    std::vector<double> expected = lists[0];
    expected.insert(expected.end(), lists[1].begin(), lists[1].end());
    std::sort(expected.begin(), expected.end());
    expected.erase(std::unique(expected.begin(), expected.end()), expected.end());
    EXPECT_EQ(metapositions, expected);
    EXPECT_EQ(size, 2);
    EXPECT_EQ(metapopdata.size(), 2u);
  }
}
