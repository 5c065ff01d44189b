// The site filter and the pooled positions take a one-pass walk when the
// positions ascend and fall back to searching otherwise: both must keep what
// a search of every position keeps.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>

#include "analysis/pooling.hpp"

namespace {

// Positions of p's list kept by a search of every position in commons.
std::vector<double> keptBySearch(const std::vector<double>& positions,
                                 const std::vector<double>& commons) {
  std::vector<double> kept;
  for (double x : positions)
    if (std::find(commons.begin(), commons.end(), x) != commons.end()) kept.push_back(x);
  return kept;
}

}  // namespace

TEST(SiteFilterWalk, KeepsWhatASearchKeeps) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  std::mt19937 rng(4);
  const std::vector<std::vector<double>> lists = {
      {1, 2, 3, 5, 8, 13},       // ascending
      {1, 2, 2, 3, 5, 5, 9},     // ascending with repeats: a repeat is kept twice
      {13, 8, 5, 3, 2, 1},       // descending
      {5, nan, 3, 8},            // a position that is no number
      {},
  };
  const std::vector<double> commons = {2, 3, 5, 9, 13};
  for (const std::vector<double>& list : lists) {
    const std::size_t n = list.size();
    HaplotypeMatrix data(2 + 3);  // population 0 has 2 rows, population 1 has 3
    for (BitRow& row : data) {
      row = BitRow(n);
      for (std::size_t j = 0; j < n; ++j)
        if (rng() % 2) row.set(j);
    }
    const HaplotypeMatrix before = data;
    std::vector<double> positions = list, freqs(n);
    for (std::size_t j = 0; j < n; ++j) freqs[j] = static_cast<double>(j) / 10;
    deleteNonCommonSNPs(data, 1, {2, 3}, freqs, positions, commons);
    EXPECT_EQ(positions, keptBySearch(list, commons));
    // Rows of population 1 hold the kept columns; population 0 is untouched.
    std::size_t k = 0;
    for (std::size_t j = 0; j < n; ++j) {
      if (std::find(commons.begin(), commons.end(), list[j]) == commons.end()) continue;
      EXPECT_DOUBLE_EQ(freqs[k], static_cast<double>(j) / 10);
      for (std::size_t r = 2; r < 5; ++r) EXPECT_EQ(data[r][k], before[r][j]);
      ++k;
    }
    EXPECT_EQ(data[0], before[0]);
    EXPECT_EQ(data[1], before[1]);
  }
}

TEST(PooledPositions, TwoListsMergeIntoOneSortedListWithoutRepeats) {
  for (const auto& lists : std::vector<std::vector<std::vector<double>>>{
           {{1, 4, 9}, {1, 4, 9}},
           {{1, 4, 9}, {2, 4, 10}},
           {{9, 1, 4}, {2, 4, 10}},  // one list out of order: sorted all the same
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
  }
}
