#include "stats/frequencies.hpp"

#include <gtest/gtest.h>

#include "haplotype_rows.hpp"

TEST(Frequencies, PerPopulationAndPooled) {
  // Population 0: 4 rows, population 1: 2 rows (sites 0..2).
  const HaplotypeMatrix P = matrixFromRows({"110", "100", "101", "000", "111", "011"});
  const std::vector<int> sizes = {4, 2};
  std::vector<double> f = {9, 9, 9, 9, 9};
  computePopFreqs(P, 0, sizes, f);
  EXPECT_EQ(f, (std::vector<double>{0.75, 0.25, 0.25}));
  computePopFreqs(P, 1, sizes, f);
  EXPECT_EQ(f, (std::vector<double>{0.5, 1.0, 1.0}));
  computeGlobalFreqs(P, f);
  EXPECT_DOUBLE_EQ(f[0], 4.0 / 6);
  EXPECT_DOUBLE_EQ(f[2], 3.0 / 6);
  ASSERT_EQ(f.size(), 3u);

  // A population without rows has no frequency.
  const std::vector<int> empty = {6, 0};
  computePopFreqs(P, 1, empty, f);
  EXPECT_TRUE(f.empty());
}

TEST(Frequencies, MajorityNeedsMoreThanHalf) {
  // 4 rows: 2 set is no majority, 3 set is; 5 rows: 3 set is; 1 row: the row itself.
  const HaplotypeMatrix P = matrixFromRows({"110", "110", "010", "000", "101", "101", "101", "000",
                                    "000", "011"});
  const std::vector<PopReference> refs = computePopReferences(P, {4, 5, 1});
  ASSERT_EQ(refs.size(), 3u);
  EXPECT_FALSE(refs[0][0]);
  EXPECT_TRUE(refs[0][1]);
  EXPECT_FALSE(refs[0][2]);
  EXPECT_TRUE(refs[1][0]);
  EXPECT_FALSE(refs[1][1]);
  EXPECT_TRUE(refs[1][2]);
  EXPECT_EQ(refs[2], P[9]);

  const std::vector<PopReference> none = computePopReferences(P, {0, 10});
  EXPECT_EQ(none[0].count(), 0u);
  EXPECT_EQ(none[0].size(), 3u);
}
