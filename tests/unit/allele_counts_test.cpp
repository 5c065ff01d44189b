#include "input/allele_counts.hpp"

#include <random>

#include "test_support.hpp"

TEST(AlleleCounts, CountAllelesSkipsMissingAndSortsUnsigned) {
  std::vector<std::int32_t> codes;
  std::vector<float> counts;
  int n = -1;
  EXPECT_EQ(countAlleles({2, -9, 1, 0, 2, -9, 0}, 0, codes, counts, n), 3);
  EXPECT_EQ(codes, (std::vector<std::int32_t>{1, 2, -9}));
  EXPECT_EQ(counts, (std::vector<float>{1, 2, 2}));
  EXPECT_EQ(n, 7);

  EXPECT_EQ(countAlleles({'N', 'T', 'A', 'N', 'A'}, 'N', codes, counts, n), 2);
  EXPECT_EQ(codes, (std::vector<std::int32_t>{'A', 'T'}));
  EXPECT_EQ(counts, (std::vector<float>{2, 1}));

  EXPECT_EQ(countAlleles({}, 0, codes, counts, n), 0);
  EXPECT_TRUE(codes.empty());
  EXPECT_TRUE(counts.empty());
  EXPECT_EQ(n, 0);
}

// The readers tally while streaming; the result must be what countAlleles
// gives for the whole column.
TEST(AlleleCounts, TallyAgreesWithCountAlleles) {
  std::mt19937 random(7);
  std::uniform_int_distribution<int> pick(0, 5);
  const std::int32_t alphabet[] = {0, 1, 2, 17, -9, 300};
  for (int trial = 0; trial < 50; ++trial) {
    std::vector<std::int32_t> column;
    AlleleTally tally;
    for (int k = 0; k < trial; ++k) {
      column.push_back(alphabet[pick(random)]);
      if (column.back() != 0) tally.add(column.back());
    }
    std::vector<std::int32_t> codes, tallyCodes;
    std::vector<float> counts, tallyCounts;
    int n = 0;
    countAlleles(column, 0, codes, counts, n);
    const std::uint64_t typed = tally.emit(tallyCodes, tallyCounts);
    EXPECT_EQ(tallyCodes, codes);
    EXPECT_EQ(tallyCounts, counts);
    float sum = 0;
    for (float c : counts) sum += c;
    EXPECT_EQ(static_cast<float>(typed), sum);
  }
}

TEST(AlleleCounts, UnusableWhenNearlyEveryCopyIsMissing) {
  AlleleCountTable counts;
  MaxAlleleCountTable maxima;
  AlleleIdTable ids;
  resetAlleleTables(3, 2, counts, maxima, ids);
  std::vector<AlleleTally> tallies(3);
  // 5 individuals, 10 copies: locus 0 has 6 typed (4 missing), locus 1 has 7
  // typed (3 missing), locus 2 none.
  for (int k = 0; k < 3; ++k) tallies[0].add(1);
  for (int k = 0; k < 3; ++k) tallies[0].add(2);
  for (int k = 0; k < 3; ++k) tallies[1].add(2);
  for (int k = 0; k < 4; ++k) tallies[1].add(5);
  storePopulationCounts(tallies, 1, 5, counts, maxima, ids);
  EXPECT_EQ(maxima[0][1], unusableLocus);
  EXPECT_EQ(maxima[1][1], 4.0f);
  EXPECT_EQ(maxima[2][1], unusableLocus);
  EXPECT_EQ(ids[1][1], (std::vector<std::int32_t>{2, 5}));
  EXPECT_EQ(counts[1][1], (std::vector<float>{3, 4}));
  EXPECT_TRUE(ids[2][1].empty());
  EXPECT_EQ(maxima[1][0], 0.0f);  // population 0 untouched
  for (auto& tally : tallies) {
    std::vector<std::int32_t> codes;
    std::vector<float> copies;
    EXPECT_EQ(tally.emit(codes, copies), 0u);  // cleared
  }
}
