// Word-level kernels against their cell-by-cell definitions, on random rows
// whose lengths are not multiples of the word size.
#include <gtest/gtest.h>

#include <random>

#include "input/haplotypes.hpp"
#include "stats/frequencies.hpp"

namespace {

BitRow randomRow(std::mt19937_64& rng, std::size_t n, double density) {
  std::bernoulli_distribution bit(density);
  BitRow row(n);
  for (std::size_t j = 0; j < n; ++j)
    if (bit(rng)) row.set(j);
  return row;
}

}  // namespace

TEST(CellSelection, KeepsTheListedCellsInOrder) {
  std::mt19937_64 rng(7);
  for (std::size_t n : {1u, 63u, 64u, 65u, 200u, 1000u}) {
    for (double keep : {0.0, 0.1, 0.85, 1.0}) {
      std::bernoulli_distribution kept(keep);
      std::vector<std::size_t> indices;
      for (std::size_t j = 0; j < n; ++j)
        if (kept(rng)) indices.push_back(j);
      const CellSelection selection(indices, n);
      EXPECT_EQ(selection.size(), indices.size());
      for (int r = 0; r < 5; ++r) {
        const BitRow row = randomRow(rng, n, 0.4);
        const BitRow selected = selection.apply(row);
        EXPECT_EQ(selected, row.select(indices)) << "n=" << n << " keep=" << keep;
        // Bits past the end stay clear, so equality and counts hold.
        EXPECT_EQ(selected.count(), row.select(indices).count());
      }
    }
  }
}

TEST(CountSetCells, MatchesACellByCellCount) {
  std::mt19937_64 rng(11);
  const std::size_t L = 130;
  HaplotypeMatrix P;
  for (int r = 0; r < 37; ++r) P.push_back(randomRow(rng, L, r % 3 == 0 ? 0.9 : 0.3));
  P.push_back(randomRow(rng, L + 70, 0.5));  // a longer row: cells past L are not counted
  for (std::size_t first : {0u, 5u}) {
    for (std::size_t count : {0u, 1u, 20u, 100u}) {  // 100 runs past the last row
      const std::vector<int> counts = countSetCells(P, first, count, L);
      ASSERT_EQ(counts.size(), L);
      for (std::size_t j = 0; j < L; ++j) {
        int expected = 0;
        for (std::size_t r = first; r < first + count && r < P.size(); ++r) expected += P[r][j];
        EXPECT_EQ(counts[j], expected) << "first=" << first << " count=" << count << " j=" << j;
      }
    }
  }
}

TEST(BitCounts, MatchCellByCellCounts) {
  std::mt19937_64 rng(3);
  for (std::size_t n : {1u, 64u, 100u, 300u}) {
    const BitRow a = randomRow(rng, n, 0.5), b = randomRow(rng, n, 0.3);
    std::size_t ones = 0;
    for (std::size_t j = 0; j < n; ++j) ones += a[j];
    EXPECT_EQ(a.count(), ones);
    for (int trial = 0; trial < 50; ++trial) {
      const std::size_t ini = rng() % (n + 1), end = rng() % (n + 1);
      std::size_t differing = 0;
      for (std::size_t j = ini; j < end; ++j) differing += a[j] != b[j];
      EXPECT_EQ(a.countDifferences(b, ini, end), differing) << n << " [" << ini << ", " << end << ")";
    }
  }
}
